// Window and its controls: the dialog toolkit's objects and properties, kept but not drawn.
(function (native, global) {
    var CONTAINERS = {group: true, panel: true};
    var LISTS = {dropdownlist: true, listbox: true};
    var KINDS = {
        group: true, panel: true, statictext: true, edittext: true, checkbox: true,
        radiobutton: true, button: true, dropdownlist: true, listbox: true, progressbar: true,
        slider: true
    };

    // A size: .width/.height, or [0]/[1] as the host's arrays allow.
    function Dimension(width, height) {
        this.width = width;
        this.height = height;
    }
    Object.defineProperty(Dimension.prototype, "0", {
        get: function () { return this.width; },
        set: function (v) { this.width = v; }
    });
    Object.defineProperty(Dimension.prototype, "1", {
        get: function () { return this.height; },
        set: function (v) { this.height = v; }
    });
    Object.defineProperty(Dimension.prototype, "length", {value: 2});
    Dimension.prototype.toString = function () {
        return this.width + "," + this.height;
    };

    function toDimension(v) {
        if (v === null || typeof v !== "object") return v;
        return new Dimension(v.width !== undefined ? v.width : v[0],
                             v.height !== undefined ? v.height : v[1]);
    }

    function Graphics() {
        this.font = undefined;
        this.foregroundColor = undefined;
        this.backgroundColor = undefined;
    }
    Graphics.prototype.PenType = {SOLID_COLOR: 0, THEME_COLOR: 1};
    Graphics.prototype.BrushType = {SOLID_COLOR: 0, THEME_COLOR: 1};
    Graphics.prototype.newPen = function (type, color, lineWidth) {
        return {type: type, color: color, lineWidth: lineWidth};
    };
    Graphics.prototype.newBrush = function (type, color) {
        return {type: type, color: color};
    };

    // One entry of a drop-down list or list box.
    function ListItem(list, text) {
        this.type = "item";
        this.parent = list;
        this.text = text;
        this.index = -1;
    }
    Object.defineProperty(ListItem.prototype, "selected", {
        get: function () { return this.parent._selected === this.index; },
        set: function (v) {
            if (v) this.parent.selection = this;
            else if (this.selected) this.parent.selection = null;
        },
        enumerable: true
    });
    ListItem.prototype.toString = function () {
        return this.text;
    };

    // Every container's layout manager: nothing is drawn, so laying out does nothing.
    function LayoutManager() {}
    LayoutManager.prototype.layout = function (recalculate) {};
    LayoutManager.prototype.resize = function () {};

    function Control(type, parent, properties) {
        this.type = type;
        this.parent = parent;
        this.window = parent ? parent.window : this;
        this.properties = properties && typeof properties === "object" ? properties : {};
        this.name = this.properties.name === undefined ? "" : String(this.properties.name);
        this.children = [];
        this.text = "";
        this.enabled = true;
        this.visible = true;
        this.active = false;
        this.helpTip = "";
        this.bounds = undefined;
        this.alignment = undefined;
        this.characters = undefined;
        this.justify = "left";
        this.preferredSize = [-1, -1];
        this.minimumSize = [0, 0];
        this.maximumSize = [32767, 32767];
        this.graphics = new Graphics();
        this._isContainer = CONTAINERS[type] === true;
        this._isList = LISTS[type] === true;
        if (this._isContainer) {
            this.orientation = type === "group" ? "row" : "column";
            this.alignChildren = undefined;
            this.margins = undefined;
            this.spacing = undefined;
            this.layout = new LayoutManager();
        }
        if (this._isList) {
            this.items = [];
            this._selected = -1;
        }
    }

    ["preferredSize", "minimumSize", "maximumSize", "size"].forEach(function (name) {
        Object.defineProperty(Control.prototype, name, {
            get: function () { return this["_" + name]; },
            set: function (v) { this["_" + name] = toDimension(v); },
            enumerable: true
        });
    });

    function listIndex(list, v) {
        if (v instanceof Array) v = v[0];
        if (v === null || v === undefined) return -1;
        if (v instanceof ListItem) return v.parent === list ? v.index : -1;
        var n = Number(v);
        return n % 1 === 0 && n >= 0 && n < list.items.length ? n : -1;
    }

    // A list's selected item or null; set it with an index, an item or null. An index out of
    // range selects nothing.
    Object.defineProperty(Control.prototype, "selection", {
        get: function () {
            if (!this._isList) return this._selection;
            return this._selected >= 0 ? this.items[this._selected] : null;
        },
        set: function (v) {
            if (!this._isList) this._selection = v;
            else this._selected = listIndex(this, v);
        },
        enumerable: true
    });

    function reindex(list) {
        for (var i = 0; i < list.items.length; i++) list.items[i].index = i;
    }

    function addItem(list, text, index) {
        var item = new ListItem(list, text === undefined ? "" : String(text));
        var selected = list.selection;
        if (typeof index === "number" && index >= 0 && index < list.items.length) {
            list.items.splice(index, 0, item);
        } else {
            list.items.push(item);
        }
        reindex(list);
        list._selected = selected ? selected.index : -1;
        return item;
    }

    // add(type, bounds, text or items, properties) on windows, groups and panels;
    // add("item", text, index) on lists.
    Control.prototype.add = function (type, bounds, text, properties) {
        var kind = String(type).toLowerCase();
        if (this._isList) {
            if (kind !== "item" && kind !== "separator") {
                throw new Error(this.type + '.add: expected "item", not "' + type + '"');
            }
            return addItem(this, kind === "separator" ? "-" : bounds, text);
        }
        if (!this._isContainer) throw new Error(this.type + " cannot hold other elements");
        if (KINDS[kind] !== true) throw new Error('add: unknown element type "' + type + '"');
        var c = kind === "panel" ? new PanelControl(this, properties)
                                 : new Control(kind, this, properties);
        if (bounds !== undefined) c.bounds = bounds;
        if (c._isList) {
            var items = text instanceof Array ? text
                      : c.properties.items instanceof Array ? c.properties.items : [];
            for (var i = 0; i < items.length; i++) addItem(c, items[i]);
        } else if (kind === "progressbar" || kind === "slider") {
            // progressbar(bounds, value, max); slider(bounds, value, min, max)
            c.value = Number(text) || 0;
            c.minvalue = kind === "slider" && typeof properties === "number" ? properties : 0;
            var max = kind === "slider" ? arguments[4] : properties;
            c.maxvalue = typeof max === "number" ? max : 100;
            c.properties = {};
        } else if (text !== undefined) {
            c.text = String(text);
        }
        if (kind === "checkbox" || kind === "radiobutton") c.value = false;
        this.children.push(c);
        this.window._controls.push(c);
        return c;
    };

    function forget(w, c) {
        var at = native.indexOf(w._controls, c);
        if (at >= 0) w._controls.splice(at, 1);
        for (var i = 0; i < c.children.length; i++) forget(w, c.children[i]);
    }

    // remove(child, index or item) from a container or a list.
    Control.prototype.remove = function (what) {
        if (this._isList) {
            var index = listIndex(this, what);
            if (index < 0) return;
            var selected = this.selection;
            var removed = this.items.splice(index, 1)[0];
            reindex(this);
            this._selected = selected && selected !== removed ? selected.index : -1;
            return;
        }
        var at = typeof what === "number" ? what : native.indexOf(this.children, what);
        if (at < 0 || at >= this.children.length) return;
        forget(this.window, this.children[at]);
        this.children.splice(at, 1);
    };

    Control.prototype.removeAll = function () {
        if (this._isList) {
            this.items = [];
            this._selected = -1;
            return;
        }
        while (this.children.length) this.remove(0);
    };

    Control.prototype.find = function (text) {
        var items = this._isList ? this.items : this.children;
        for (var i = 0; i < items.length; i++) {
            if (items[i].text === text) return items[i];
        }
        return null;
    };

    Control.prototype.show = function () {
        this.visible = true;
    };

    Control.prototype.hide = function () {
        this.visible = false;
    };

    // notify(event): runs the handler as if the user had acted (onClick for buttons and
    // checkboxes, onChange for fields and lists when no event is named).
    Control.prototype.notify = function (event) {
        if (event === undefined) {
            event = this.type === "edittext" || this._isList || this.type === "slider"
                    ? "onChange" : "onClick";
        }
        if (typeof this[event] === "function") this[event]();
    };

    function Window(type, title, bounds, properties) {
        if (!(this instanceof Window)) return new Window(type, title, bounds, properties);
        var kind = String(type).toLowerCase();
        if (kind !== "dialog" && kind !== "palette" && kind !== "window") {
            throw new Error('Window: unknown type "' + type + '"; expected dialog, palette or window');
        }
        Control.call(this, kind, null, properties);
        topLevel(this, title);
        if (bounds !== undefined) this.bounds = bounds;
        this.orientation = "column";
        this.defaultElement = undefined;
        this.cancelElement = undefined;
    }
    Window.prototype = Object.create(Control.prototype);
    Window.prototype.constructor = Window;

    // What a window and a docked panel share: they hold every control added below them, and the
    // simulated user reaches them by their title.
    function topLevel(w, title) {
        w.text = title === undefined ? "" : String(title);
        w._isContainer = true;
        w.alignChildren = undefined;
        w.margins = undefined;
        w.spacing = undefined;
        w.layout = new LayoutManager();
        w._controls = [];  // every control, in the order added, across nested groups
        w._open = false;
        w._closing = false;
        w._closeValue = undefined;
    }

    // The windows that stay open after their script ends (palettes, windows, docked panels), in
    // the order they opened; the simulated user works in them between the host's idle calls.
    native.openWindows = [];
    function opened(w) {
        if (native.indexOf(native.openWindows, w) < 0) native.openWindows.push(w);
    }
    function closed(w) {
        var at = native.indexOf(native.openWindows, w);
        if (at >= 0) native.openWindows.splice(at, 1);
    }

    // Panel: a bordered container made by add("panel"), and the panel the host docks a script of
    // its script-panels folder into, which that script receives as `this`. Scripts do not make
    // one with `new`.
    function Panel() {
        throw new Error("Panel: made by add(\"panel\"), or by the host for a docked script panel");
    }
    Panel.prototype = Object.create(Control.prototype);
    Panel.prototype.constructor = Panel;

    function PanelControl(parent, properties) {
        Control.call(this, "panel", parent, properties);
    }
    PanelControl.prototype = Panel.prototype;

    // The host docks a script-panel file: a Panel titled after the file, open before the script
    // runs and after it has ended, until the user closes it.
    native.dockPanel = function (title) {
        var p = new PanelControl(null, {});
        p.window = p;
        topLevel(p, title);
        p.orientation = "column";
        p._docked = true;
        p._open = true;
        opened(p);
        return p;
    };
    Panel.prototype.close = function (value) {
        if (this._docked) Window.prototype.close.call(this, value);
    };

    // A dialog waits for the simulated user, then gives the value it was closed with. Other
    // windows do not wait.
    Window.prototype.show = function () {
        this.visible = true;
        if (this.type !== "dialog") {
            this._open = true;
            opened(this);
            return undefined;
        }
        if (this._open) throw new Error('dialog "' + this.text + '" is already shown');
        this._open = true;
        this._closeValue = undefined;
        try {
            native.simulatedUser(this);
        } finally {
            this._open = false;
            this.visible = false;
        }
        return this._closeValue;
    };

    // close(value): onClose runs first and keeps the window open by returning false; show()
    // then gives the value, 1 when none is given. The close box closes with 2.
    Window.prototype.close = function (value) {
        if (!this._open || this._closing) return;
        this._closing = true;
        var keep;
        try {
            keep = typeof this.onClose === "function" && this.onClose() === false;
        } finally {
            this._closing = false;
        }
        if (keep) return;
        this._open = false;
        this.visible = false;
        this._closeValue = value === undefined ? 1 : value;
        closed(this);
    };

    Window.prototype.hide = function () {
        if (this._open) this.close(0);
        this.visible = false;
    };

    Window.prototype.center = function () {};

    Window.alert = function (message, title, errorIcon) {
        global.alert(message, title, errorIcon);
    };

    global.Window = Window;
    global.Panel = Panel;
    global.ScriptUI = {
        version: "6.2",
        FontStyle: {REGULAR: 0, BOLD: 1, ITALIC: 2, BOLDITALIC: 3},
        newFont: function (name, style, size) {
            return {name: name, style: style, size: size};
        }
    };
})
