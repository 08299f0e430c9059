// Zentrim Panel: buttons for the Zentrim plug-in's actions and switches for its preferences.
// Docked when it sits in the host's ScriptUI Panels folder (the host then hands it a Panel as
// `this`), a floating palette when run as a script. It starts an action by leaving a request in
// the plug-in's preferences ("Menu_Cmd" and "Panel_Run"), which the plug-in picks up when the host
// next idles. Written in the host's scripting language: ECMAScript 3 and its library only.
(function (thisObj) {
    var SECTION = 'Zentrim';
    var TITLE = 'Zentrim Panel';

    // The action buttons, in display order: the key the panel preferences list, the label, the
    // request number the plug-in reads from "Panel_Run".
    var ACTIONS = [
        {key: 'ZENTRIM', label: 'Zentrim', request: 1},
        {key: 'CROP_DURATION', label: 'Crop Duration', request: 2},
        {key: 'MASK_CROP', label: 'Mask Crop', request: 3},
        {key: 'PREFERENCES', label: 'Preferences', request: 4}
    ];

    // The preference controls, in display order. A box's amount is written with the preferences
    // dialog's default when the box is ticked and no amount was ever saved, so that it acts as
    // the dialog shows it.
    var CONTROLS = [
        {key: 'DELETE_MASK', label: 'Delete Mask', pref: 'DeleteMask'},
        {key: 'PADDING', label: 'Padding', pref: 'Padding', amount: 'PaddingAmount', fallback: 10},
        {key: 'EXPAND', label: 'Expand', pref: 'Expand', amount: 'ExpandAmount', fallback: 0},
        {key: 'INCLUDE_MASKS', label: 'Include Masks', pref: 'IncludeMasks'},
        {key: 'RESOLUTION', label: 'Resolution', pref: 'Resolution',
         items: ['Always Ask', 'Always Use Full Res', 'Always Use Current Res']},
        {key: 'PRE_COMPOSE', label: 'Pre-compose 3D Comps', pref: 'ThreeD',
         items: ['Always Ask', 'Always Pre-compose', 'Never Pre-compose']}
    ];

    // The plug-in's one menu command is renamed with the modifier keys held: any of its names
    // finds it.
    var COMMAND_NAMES = ['Zentrim', 'Zentrim Duration', 'Mask Crop', 'Zentrim Preferences',
                         'Multiple layers not allowed'];

    var prefs = app.preferences;
    var docked = typeof Panel != 'undefined' && thisObj instanceof Panel;
    var ui = docked ? thisObj : new Window('palette', TITLE, undefined, {resizeable: true});

    function report(what, e) {
        alert('Zentrim Panel could not ' + what + ': ' + e.toString(), TITLE, true);
    }

    function readBool(key) {
        return prefs.havePref(SECTION, key) ? prefs.getPrefAsBool(SECTION, key) : false;
    }

    function readLong(key) {
        return prefs.havePref(SECTION, key) ? prefs.getPrefAsLong(SECTION, key) : 0;
    }

    // The keys a panel-display preference lists; `absent` when it was never saved. A saved empty
    // list shows nothing.
    function listed(key, absent) {
        if (!prefs.havePref(SECTION, key)) return absent;
        var text = prefs.getPrefAsString(SECTION, key);
        return text === '' ? [] : text.split(',');
    }

    function contains(list, value) {
        for (var i = 0; i < list.length; i++) {
            if (list[i] == value) return true;
        }
        return false;
    }

    function keysOf(entries) {
        var keys = [];
        for (var i = 0; i < entries.length; i++) keys.push(entries[i].key);
        return keys;
    }

    // The host's number of the plug-in's command, or 0 when no menu holds it.
    function commandNumber() {
        if (typeof app.findMenuCommandId != 'function') return 0;
        for (var i = 0; i < COMMAND_NAMES.length; i++) {
            var id = 0;
            try {
                id = app.findMenuCommandId(COMMAND_NAMES[i]);
            } catch (e) {
                id = 0;
            }
            if (typeof id == 'number' && id > 0) return id;
        }
        return 0;
    }

    // Both keys are written in this one script run, so the plug-in finds them together.
    function request(action) {
        try {
            var command = commandNumber();
            if (command <= 0) {
                alert('The Zentrim plug-in\'s command is in none of the host\'s menus, so "' +
                      action.label + '" cannot run. Check that Zentrim is installed in the ' +
                      'host\'s Plug-ins folder (see INSTALL.txt) and restart the host.',
                      TITLE, true);
                return;
            }
            prefs.savePrefAsLong(SECTION, 'Menu_Cmd', command);
            prefs.savePrefAsLong(SECTION, 'Panel_Run', action.request);
        } catch (e) {
            report('start "' + action.label + '"', e);
        }
    }

    function addButton(parent, action) {
        var button = parent.add('button', undefined, action.label);
        button.onClick = function () {
            request(action);
        };
    }

    function addSwitch(parent, control) {
        var box = parent.add('checkbox', undefined, control.label);
        box.value = readBool(control.pref);
        box.onClick = function () {
            try {
                prefs.savePrefAsBool(SECTION, control.pref, box.value);
                if (box.value && control.amount && !prefs.havePref(SECTION, control.amount)) {
                    prefs.savePrefAsFloat(SECTION, control.amount, control.fallback);
                }
                prefs.saveToDisk();
            } catch (e) {
                report('save "' + control.label + '"', e);
            }
        };
    }

    function addChoice(parent, control) {
        var row = parent.add('group');
        row.orientation = 'row';
        row.alignment = ['fill', 'top'];
        row.add('statictext', undefined, control.label);
        var list = row.add('dropdownlist', undefined, control.items);
        list.alignment = ['right', 'center'];
        var index = readLong(control.pref);
        list.selection = index >= 0 && index < control.items.length ? index : 0;
        // Set after the selection, so that showing the stored choice writes nothing.
        list.onChange = function () {
            if (list.selection === null) return;
            try {
                prefs.savePrefAsLong(SECTION, control.pref, list.selection.index);
                prefs.saveToDisk();
            } catch (e) {
                report('save "' + control.label + '"', e);
            }
        };
    }

    // Builds the panel afresh from the panel-display preferences.
    function build() {
        while (ui.children.length > 0) ui.remove(ui.children[0]);
        ui.orientation = 'column';
        ui.alignChildren = ['fill', 'top'];
        ui.spacing = 4;
        ui.margins = 6;
        var actions = listed('MainPanelDisplay', keysOf(ACTIONS));
        var controls = listed('PanelDisplay', []);
        var shown = 0;
        for (var a = 0; a < ACTIONS.length; a++) {
            if (!contains(actions, ACTIONS[a].key)) continue;
            addButton(ui, ACTIONS[a]);
            shown++;
        }
        for (var c = 0; c < CONTROLS.length; c++) {
            if (!contains(controls, CONTROLS[c].key)) continue;
            if (CONTROLS[c].items) addChoice(ui, CONTROLS[c]);
            else addSwitch(ui, CONTROLS[c]);
            shown++;
        }
        if (shown == 0) {
            ui.add('statictext', undefined, 'Nothing to show: choose what the panel shows in ' +
                   'Zentrim Preferences, Panel.', {multiline: true});
        }
        ui.layout.layout(true);
    }

    function rebuild() {
        try {
            build();
        } catch (e) {
            report('rebuild the panel', e);
        }
    }

    // The preferences dialogs call this after saving, so the panel follows them at once.
    app.ZENTRIM_update_panel = rebuild;
    ui.onResizing = ui.onResize = function () {
        this.layout.resize();
    };
    ui.onClose = function () {
        // A closed panel has nothing to update: the dialogs then ask to re-open it.
        if (app.ZENTRIM_update_panel === rebuild) app.ZENTRIM_update_panel = undefined;
    };
    rebuild();
    if (!docked) {
        ui.center();
        ui.show();
    }
})(this);
