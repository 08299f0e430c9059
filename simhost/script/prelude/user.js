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
        var e = new Error(kindOf(w) + ' "' + w.text + '": ' + message);
        e.answerWindow = w;
        return e;
    }

    function ofTypes(w, types) {
        var found = [];
        for (var i = 0; i < w._controls.length; i++) {
            if (native.indexOf(types, w._controls[i].type) >= 0) found.push(w._controls[i]);
        }
        return found;
    }

    // The control whose text is `label`; failing that, the one control whose text matches it
    // without regard to case (a person types "ok" for "OK"). Otherwise the error names the
    // controls there are.
    function byText(w, types, label, noun) {
        var found = ofTypes(w, types), folded = [], i;
        for (i = 0; i < found.length; i++) {
            if (String(found[i].text) === label) return found[i];
        }
        for (i = 0; i < found.length; i++) {
            if (String(found[i].text).toLowerCase() === String(label).toLowerCase()) {
                folded.push(found[i]);
            }
        }
        if (folded.length === 1) return folded[0];
        var names = [], list = folded.length > 1 ? folded : found;
        for (i = 0; i < list.length; i++) names.push('"' + list[i].text + '"');
        var said = folded.length > 1 ? " (several match it without regard to case: " :
                   " (it has " + (names.length ? "" : "none");
        throw answerError(w, "no " + noun + ' "' + label + '"' + said + names.join(", ") + ")");
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

    // Handlers run only when the action changes something, as with a person at the host. Each
    // action gives a line saying what it did, for the person at the terminal.
    function tick(w, a) {
        var box = byText(w, ["checkbox", "radiobutton"], a.label, "checkbox");
        var label = String(box.text), name = NOUNS[box.type] + ' "' + label + '"';
        requireUsable(w, box, name);
        var value = a.kind === "check";
        if (box.type === "radiobutton" && !value) {
            throw answerError(w, "the " + name + " cannot be unticked; tick another instead");
        }
        if (box.value === value) {
            return "the " + name + " is already " + (value ? "ticked" : "unticked") +
                   ": nothing changed";
        }
        box.value = value;
        if (box.type === "radiobutton") {
            var siblings = box.parent.children;
            for (var i = 0; i < siblings.length; i++) {
                if (siblings[i] !== box && siblings[i].type === "radiobutton") {
                    siblings[i].value = false;
                }
            }
        }
        if (value) native.ticked(w.text, label);
        fire(box, "onClick");
        return (value ? "ticked the " : "unticked the ") + name;
    }

    function type(w, a) {
        var field = nth(w, FIELDS, a.index, "edit field");
        requireUsable(w, field, "edit field " + a.index);
        if (String(field.text) === a.value) {
            return "the edit field " + a.index + ' already holds "' + a.value + '": nothing changed';
        }
        field.text = a.value;
        fire(field, "onChanging");
        fire(field, "onChange");
        return 'typed "' + a.value + '" into the edit field ' + a.index;
    }

    function itemByText(w, list, name, text) {
        for (var i = 0; i < list.items.length; i++) {
            if (list.items[i].text === text) return i;
        }
        throw answerError(w, "the " + name + ' has no item "' + text + '"');
    }

    function select(w, a) {
        var list = nth(w, LISTS, a.index, "list or drop-down list");
        var name = NOUNS[list.type] + " " + a.index;
        requireUsable(w, list, name);
        var item = a.itemText !== "" ? itemByText(w, list, name, a.itemText) : a.item;
        if (item >= list.items.length) {
            throw answerError(w, "the " + name + " has no item " + item + " (it has " +
                                     list.items.length + ", counted from 0)");
        }
        var what = "item " + item + ' "' + list.items[item].text + '"';
        if (list.selection && list.selection.index === item) {
            return what + " of the " + name + " is already selected: nothing changed";
        }
        list.selection = item;
        fire(list, "onChange");
        return "selected " + what + " of the " + name;
    }

    function kindOf(w) {
        return w.type === "dialog" ? "dialog" : w._docked ? "panel" : "window";
    }

    // What became of the window after a click or its close box.
    function outcome(w) {
        if (w._open) return "the " + kindOf(w) + " is still open";
        return "the " + kindOf(w) + " closed" +
               (w.type === "dialog" ? " with " + w._closeValue : "");
    }

    function press(w, a) {
        var button = byText(w, ["button"], a.label, "button");
        var label = String(button.text);
        requireUsable(w, button, 'button "' + label + '"');
        var acts = typeof button.onClick === "function" || button === w.defaultElement ||
                   isNamed(button, "ok") || button === w.cancelElement || isNamed(button, "cancel");
        click(w, button);
        return 'clicked the button "' + label + '"' +
               (acts ? ": " + outcome(w) : ": it does nothing here");
    }

    function apply(w, a) {
        if (a.kind === "check" || a.kind === "uncheck") return tick(w, a);
        if (a.kind === "text") return type(w, a);
        if (a.kind === "select") return select(w, a);
        if (a.kind === "click") return press(w, a);
        if (a.kind === "close") {
            w.close(2);
            return w._open ? "the " + kindOf(w) + " refused to close" : "closed the " + kindOf(w) +
                             " with its close box" + (w.type === "dialog" ? " (2)" : "");
        }
        throw answerError(w, 'unknown action "' + a.kind + '"');
    }

    // What a person at the terminal needs to answer: each control with the words that reach it.
    function describe(w) {
        var lines = [];
        function ordinal(c, types) {
            return native.indexOf(ofTypes(w, types), c);
        }
        function walk(parent, depth) {
            for (var i = 0; i < parent.children.length; i++) {
                var c = parent.children[i], pad = new Array(depth + 1).join("  "), line = null;
                // One line a control: a label's line breaks show as \n.
                if (c.type === "statictext") {
                    line = '"' + String(c.text).replace(/\r\n|\r|\n/g, "\\n") + '"';
                }
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

    // Applies one action; a problem with the answer itself is told and asked again.
    function applyTold(w, action) {
        try {
            native.tell(apply(w, action));
        } catch (e) {
            if (!e || e.answerWindow !== w) throw e;
            native.tell(e.message);
        }
    }

    function askAtTerminal(w) {
        var description = describe(w);
        while (w._open) {
            var line = native.ask(w.text, description);
            description = "";
            if (line === undefined) {
                throw unanswered('dialog "' + w.text + '": the terminal input ended with it open');
            }
            var action = native.parseJson(line);
            if (action.kind === "list") native.tell(describe(w).replace(/\n$/, ""));
            else applyTold(w, action);
        }
    }

    // A dialog the user could not close as told is recorded, so the host's report shows it even
    // when the script catches the error.
    function unanswered(message) {
        native.unanswered(message);
        return new Error(message);
    }

    native.simulatedUser = function (w) {
        var answer = native.dialogShown(w.text);
        if (answer !== undefined) {
            var taken = native.parseJson(answer), actions = taken.actions;
            try {
                for (var i = 0; i < actions.length && w._open; i++) {
                    apply(w, actions[i]);
                    native.answerApplied(taken.entry, i + 1);
                }
            } catch (e) {
                if (e && e.answerWindow === w) native.unanswered(e.message);
                throw e;
            }
            if (w._open) throw unanswered('dialog "' + w.text + '": the answers given leave it open');
            return;
        }
        if (native.canAsk()) return askAtTerminal(w);
        throw unanswered('no answer for the dialog "' + w.text + '"');
    };

    // ---- windows that stay open after their script: the user works in them between idle calls

    function openWindow(title) {
        var open = native.openWindows;
        for (var i = 0; i < open.length; i++) {
            if (open[i].text === title && open[i]._open) return open[i];
        }
        return null;
    }

    native.openTitles = function () {
        var titles = [];
        for (var i = 0; i < native.openWindows.length; i++) titles.push(native.openWindows[i].text);
        return titles.join("\n");
    };

    // describeOpen(title): the controls of an open window, as the terminal lists them; undefined
    // when none with that title is open.
    native.describeOpen = function (title) {
        var w = openWindow(title);
        return w ? describe(w) : undefined;
    };

    // kindOfOpen(title): "panel", "window" or "dialog"; undefined when none is open.
    native.kindOfOpen = function (title) {
        var w = openWindow(title);
        return w ? kindOf(w) : undefined;
    };

    // actInOpen(title, action JSON): one action in an open window. The first line says "open",
    // "closed", or "problem" when the action does not fit the window (the rest is then the
    // problem); the rest says what it did. A script error in a handler is thrown.
    native.actInOpen = function (title, action) {
        var w = openWindow(title);
        if (!w) throw new Error('no window "' + title + '" is open');
        var a = native.parseJson(action), said;
        try {
            said = a.kind === "list" ? describe(w) : apply(w, a);
        } catch (e) {
            if (!e || e.answerWindow !== w) throw e;
            return "problem\n" + e.message;
        }
        return (w._open ? "open" : "closed") + "\n" + said;
    };
})
