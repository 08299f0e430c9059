// The simulated user: answers a dialog when it is shown, from the answers or at the terminal.
(function (native, global) {
    var NOUNS = {
        checkbox: "checkbox", radiobutton: "radio button", edittext: "edit field",
        button: "button", dropdownlist: "drop-down list", listbox: "list box"
    };
    var FIELDS = ["edittext"], LISTS = ["listbox", "dropdownlist"];

    // A problem with the answer itself (not with the script), tied to its window so that the
    // terminal can ask again.
    function answerError(w, message) {
        var e = new Error('dialog "' + w.text + '": ' + message);
        e.answerWindow = w;
        return e;
    }

    function ofTypes(w, types) {
        var found = [];
        for (var i = 0; i < w._controls.length; i++) {
            if (types.indexOf(w._controls[i].type) >= 0) found.push(w._controls[i]);
        }
        return found;
    }

    function byText(w, types, label, noun) {
        var found = ofTypes(w, types);
        for (var i = 0; i < found.length; i++) {
            if (String(found[i].text) === label) return found[i];
        }
        throw answerError(w, "no " + noun + ' "' + label + '"');
    }

    function nth(w, types, n, noun) {
        var found = ofTypes(w, types);
        if (n < found.length) return found[n];
        throw answerError(w, "no " + noun + " " + n + " (it has " + found.length +
                                 ", counted from 0)");
    }

    // A person cannot reach a control that is disabled or hidden, or inside one that is.
    function requireUsable(w, c, name) {
        for (var x = c; x; x = x.parent) {
            if (x.enabled === false) throw answerError(w, "the " + name + " is disabled");
            if (x.visible === false) throw answerError(w, "the " + name + " is hidden");
        }
    }

    function fire(c, handler) {
        if (typeof c[handler] === "function") c[handler]();
    }

    function isNamed(c, name) {
        return String(c.name).toLowerCase() === name || String(c.text).toLowerCase() === name;
    }

    // A button without onClick does what the host's OK and Cancel buttons do.
    function click(w, button) {
        if (typeof button.onClick === "function") {
            button.onClick();
        } else if (button === w.defaultElement || isNamed(button, "ok")) {
            w.close(1);
        } else if (button === w.cancelElement || isNamed(button, "cancel")) {
            w.close(2);
        }
    }

    // Handlers run only when the action changes something, as with a person at the host.
    function tick(w, a) {
        var box = byText(w, ["checkbox", "radiobutton"], a.label, "checkbox");
        var name = NOUNS[box.type] + ' "' + a.label + '"';
        requireUsable(w, box, name);
        var value = a.kind === "check";
        if (box.type === "radiobutton" && !value) {
            throw answerError(w, "the " + name + " cannot be unticked; tick another instead");
        }
        if (box.value === value) return;
        box.value = value;
        if (box.type === "radiobutton") {
            var siblings = box.parent.children;
            for (var i = 0; i < siblings.length; i++) {
                if (siblings[i] !== box && siblings[i].type === "radiobutton") {
                    siblings[i].value = false;
                }
            }
        }
        fire(box, "onClick");
    }

    function type(w, a) {
        var field = nth(w, FIELDS, a.index, "edit field");
        requireUsable(w, field, "edit field " + a.index);
        if (String(field.text) === a.value) return;
        field.text = a.value;
        fire(field, "onChanging");
        fire(field, "onChange");
    }

    function select(w, a) {
        var list = nth(w, LISTS, a.index, "list or drop-down list");
        var name = NOUNS[list.type] + " " + a.index;
        requireUsable(w, list, name);
        if (a.item >= list.items.length) {
            throw answerError(w, "the " + name + " has no item " + a.item + " (it has " +
                                     list.items.length + ", counted from 0)");
        }
        if (list.selection && list.selection.index === a.item) return;
        list.selection = a.item;
        fire(list, "onChange");
    }

    function apply(w, a) {
        if (a.kind === "check" || a.kind === "uncheck") return tick(w, a);
        if (a.kind === "text") return type(w, a);
        if (a.kind === "select") return select(w, a);
        if (a.kind === "click") {
            var button = byText(w, ["button"], a.label, "button");
            requireUsable(w, button, 'button "' + a.label + '"');
            return click(w, button);
        }
        if (a.kind === "close") return w.close(2);
        throw answerError(w, 'unknown action "' + a.kind + '"');
    }

    // What a person at the terminal needs to answer: each control with the words that reach it.
    function describe(w) {
        var lines = [];
        function ordinal(c, types) {
            return ofTypes(w, types).indexOf(c);
        }
        function walk(parent, depth) {
            for (var i = 0; i < parent.children.length; i++) {
                var c = parent.children[i], pad = new Array(depth + 1).join("  "), line = null;
                if (c.type === "statictext") line = '"' + c.text + '"';
                else if (c.type === "panel") line = 'panel "' + c.text + '"';
                else if (c.type === "checkbox" || c.type === "radiobutton") {
                    line = (c.value ? "[x] " : "[ ] ") + NOUNS[c.type] + ' "' + c.text + '"';
                } else if (c.type === "edittext") {
                    line = "text " + ordinal(c, FIELDS) + ': "' + c.text + '"';
                } else if (c.type === "button") line = 'button "' + c.text + '"';
                else if (c._isList) {
                    var items = [];
                    for (var k = 0; k < c.items.length; k++) {
                        items.push(k + ' "' + c.items[k].text + '"' + (c.items[k].selected ? "*" : ""));
                    }
                    line = "select " + ordinal(c, LISTS) + ": " + items.join(", ");
                }
                if (line !== null) {
                    if (c.enabled === false) line += " (disabled)";
                    if (c.visible === false) line += " (hidden)";
                    lines.push(pad + line);
                }
                walk(c, line === null ? depth : depth + 1);
            }
        }
        walk(w, 1);
        return lines.join("\n") + "\n";
    }

    function askAtTerminal(w) {
        var description = describe(w);
        while (w._open) {
            var action = native.ask(w.text, description);
            description = "";
            if (action === undefined) {
                throw new Error('dialog "' + w.text + '": the terminal input ended with it open');
            }
            try {
                apply(w, JSON.parse(action));
            } catch (e) {
                if (!e || e.answerWindow !== w) throw e;
                native.tell(e.message);
            }
        }
    }

    native.simulatedUser = function (w) {
        var answer = native.dialogShown(w.text);
        if (answer !== undefined) {
            var actions = JSON.parse(answer);
            for (var i = 0; i < actions.length && w._open; i++) apply(w, actions[i]);
            if (w._open) throw new Error('dialog "' + w.text + '": the answers given leave it open');
            return;
        }
        if (native.canAsk()) return askAtTerminal(w);
        throw new Error('no answer for the dialog "' + w.text + '"');
    };
})
