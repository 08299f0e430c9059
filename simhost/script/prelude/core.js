// The prelude's base: alert, the $ helper object, and the helpers the prelude keeps for itself.
(function (native, global) {
    // Scripts run without the library additions of later editions (see ScriptEngine.cpp), so the
    // prelude keeps its own: what it calls while scripts run must not depend on them.
    native.indexOf = function (list, value) {
        for (var i = 0; i < list.length; i++) {
            if (list[i] === value) return i;
        }
        return -1;
    };
    native.parseJson = JSON.parse;

    // alert(message, title, errorIcon): the host shows it and waits for OK; the simulator records
    // it. A missing title is recorded as "".
    global.alert = function (message, title, errorIcon) {
        native.alert(message === undefined ? "" : String(message),
                     title === undefined ? "" : String(title), !!errorIcon);
    };

    global.$ = {
        os: native.os(),
        // Joins its arguments into one console line, as the host's does.
        writeln: function () {
            var parts = [];
            for (var i = 0; i < arguments.length; i++) parts.push(String(arguments[i]));
            native.writeln(parts.join(""));
        },
        // Scripts wait for the host to catch up; the simulator has nothing to wait for.
        sleep: function (milliseconds) {}
    };
})
