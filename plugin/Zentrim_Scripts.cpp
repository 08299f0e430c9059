// The shell's script texts. Line breaks inside quoted script strings are escape sequences, so
// every text is valid in the host's scripting language.
#include "Zentrim_Scripts.h"

const char* const kPanelRequestFailedAlert =
    "alert('An error has occurred, please try again.\\r\\n\\r\\n If you continue to receive this "
    "error, please "
    "contact us at support@zentrim.example.com', 'Could Not Run Zentrim From Panel', 2);";

const char* const kInvalidSelectionAlert =
    "alert('Zentrim can not run on the currently selected layer(s) or composition. Please modify "
    "your selection "
    "and try again', 'Invalid Selection');";

const char* const kPreferencesDialog = R"(function ZENTRIM_openPanelPrefs() {
    var SECTION = 'Zentrim';
    var ACTIONS = [['ZENTRIM', 'Zentrim'], ['CROP_DURATION', 'Crop Duration'], ['MASK_CROP', 'Mask Crop'],
                   ['PREFERENCES', 'Preferences']];
    var CONTROLS = [['DELETE_MASK', 'Delete Mask'], ['PADDING', 'Padding'], ['EXPAND', 'Expand'],
                    ['INCLUDE_MASKS', 'Include Masks'], ['RESOLUTION', 'Resolution'],
                    ['PRE_COMPOSE', 'Pre-compose 3D Comps']];
    var w = new Window('dialog', 'Zentrim Panel Preferences');
    w.add('statictext', [0, 0, 200, 30], 'Select which items you would like to show in the Zentrim panel',
          {multiline: true});
    w.add('statictext', [0, 35, 200, 50], 'Actions:');
    var actionGroup = w.add('group', [0, 50, 200, 120]);
    var actionBoxes = [];
    for (var a = 0; a < ACTIONS.length; a++) {
        actionBoxes.push(actionGroup.add('checkbox', [0, a * 18, 150, a * 18 + 15], ACTIONS[a][1]));
    }
    w.add('statictext', [0, 125, 200, 140], 'Preferences:');
    var controlGroup = w.add('group', [0, 145, 200, 250]);
    var controlBoxes = [];
    for (var c = 0; c < CONTROLS.length; c++) {
        controlBoxes.push(controlGroup.add('checkbox', [0, c * 18, 150, c * 18 + 15], CONTROLS[c][1]));
    }
    var save = w.add('button', [0, 255, 75, 275], 'Save');

    function tick(stored, keys, boxes) {
        var listed = stored.split(',');
        for (var i = 0; i < listed.length; i++) {
            if (listed[i] === '') continue;
            var found = false;
            for (var k = 0; k < keys.length; k++) {
                if (keys[k][0] == listed[i]) {
                    boxes[k].value = true;
                    found = true;
                }
            }
            if (!found) $.writeln('Zentrim: the panel preference lists an unknown key: ' + listed[i]);
        }
    }
    function joined(boxes, keys) {
        var ticked = [];
        for (var i = 0; i < boxes.length; i++) {
            if (boxes[i].value) ticked.push(keys[i][0]);
        }
        return ticked.join(',');
    }

    if (app.preferences.havePref(SECTION, 'MainPanelDisplay')) {
        tick(app.preferences.getPrefAsString(SECTION, 'MainPanelDisplay'), ACTIONS, actionBoxes);
    } else {
        for (var t = 0; t < actionBoxes.length; t++) actionBoxes[t].value = true;
    }
    if (app.preferences.havePref(SECTION, 'PanelDisplay')) {
        var shown = app.preferences.getPrefAsString(SECTION, 'PanelDisplay');
        if (shown !== '') tick(shown, CONTROLS, controlBoxes);
    }

    save.onClick = function () {
        try {
            app.preferences.savePrefAsString(SECTION, 'PanelDisplay', joined(controlBoxes, CONTROLS));
            app.preferences.savePrefAsString(SECTION, 'MainPanelDisplay', joined(actionBoxes, ACTIONS));
            if (typeof app.ZENTRIM_update_panel == 'function') {
                app.ZENTRIM_update_panel();
            } else {
                alert('Please re-open the Zentrim panel for changes to take effect');
            }
            w.close(1);
        } catch (e) {
            alert('An error has occurred. ' + e.toString());
        }
    };
    w.show();
}

(function () {
    var SECTION = 'Zentrim';
    var HELP_URL = 'https://zentrim.example.com/help';

    function loadPref(name, type, fallback) {
        var value = fallback;
        if (app.preferences.havePref(SECTION, name)) {
            if (type == 'bool') value = app.preferences.getPrefAsBool(SECTION, name);
            else if (type == 'float') value = app.preferences.getPrefAsFloat(SECTION, name);
            else value = app.preferences.getPrefAsLong(SECTION, name);
        }
        var setter = type == 'bool' ? 'savePrefAsBool' : (type == 'float' ? 'savePrefAsFloat' : 'savePrefAsLong');
        return {name: name, value: value, setter: setter, control: null, property: null};
    }

    var prefs = {
        Padding: loadPref('Padding', 'bool', false),
        PaddingAmount: loadPref('PaddingAmount', 'float', 10),
        Expand: loadPref('Expand', 'bool', false),
        ExpandAmount: loadPref('ExpandAmount', 'float', 0),
        DeleteMask: loadPref('DeleteMask', 'bool', false),
        IncludeMasks: loadPref('IncludeMasks', 'bool', false),
        Resolution: loadPref('Resolution', 'long', 0),
        ThreeD: loadPref('ThreeD', 'long', 0)
    };

    function bind(pref, control, property) {
        pref.control = control;
        pref.property = property;
        if (property == 'text') control.text = String(pref.value);
        else control[property] = pref.value;
    }

    function amountRow(parent, flag, amount, label) {
        var row = parent.add('group');
        row.orientation = 'row';
        bind(flag, row.add('checkbox', undefined, label), 'value');
        var field = row.add('edittext', undefined, '');
        field.characters = 4;
        field.preferredSize.width = 30;
        bind(amount, field, 'text');
    }

    function listRow(parent, label, items, width, pref) {
        var row = parent.add('group');
        row.orientation = 'row';
        row.alignment = 'fill';
        var caption = row.add('statictext', undefined, label);
        caption.preferredSize = [100, 15];
        var list = row.add('dropdownlist', undefined, items);
        list.alignment = 'right';
        list.preferredSize.width = width;
        bind(pref, list, 'selection');
    }

    function openHelp() {
        var security = 0;
        if (app.preferences.havePref('Main Pref Section', 'Pref_SCRIPTING_FILE_NETWORK_SECURITY')) {
            security = app.preferences.getPrefAsLong('Main Pref Section', 'Pref_SCRIPTING_FILE_NETWORK_SECURITY');
        }
        if (security != 1) {
            alert('Network access has been blocked by your preferences. Please visit: ' + HELP_URL +
                  ' to view the most recent help docs.');
            return;
        }
        var link;
        if (File.fs == 'Macintosh') {
            link = new File('~/Desktop/tempurl.webloc');
            link.open('w');
            link.write('<?xml version="1.0" encoding="UTF-8"?>\n' +
                       '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" ' +
                       '"http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n' +
                       '<plist version="1.0">\n<dict>\n\t<key>URL</key>\n\t<string>' + HELP_URL +
                       '</string>\n</dict>\n</plist>\n');
        } else {
            link = new File('~/Desktop/kqlinkscript.url');
            link.open('w');
            link.write('[InternetShortcut]\rURL=' + HELP_URL);
        }
        link.close();
        link.execute();
        for (var i = 0; i < 100; i++) $.sleep(10);
        link.remove();
    }

    try {
        var w = new Window('dialog', 'Zentrim Preferences');
        w.preferredSize.width = 400;
        w.orientation = 'row';
        w.alignChildren = ['left', 'top'];

        var left = w.add('group');
        left.orientation = 'column';
        left.preferredSize.width = 250;
        left.alignChildren = 'left';
        bind(prefs.DeleteMask, left.add('checkbox', undefined, 'Delete mask after Mask Crop'), 'value');
        amountRow(left, prefs.Padding, prefs.PaddingAmount, 'Padding');
        amountRow(left, prefs.Expand, prefs.ExpandAmount, 'Expand');
        bind(prefs.IncludeMasks, left.add('checkbox', undefined, 'Include Masks'), 'value');
        listRow(left, 'Resolution', ['Always Ask', 'Always Use Full Res', 'Always Use Current Res'], 200,
                prefs.Resolution);
        listRow(left, 'Pre-compose 3D Comps', ['Always Ask', 'Always Pre-compose', 'Never Pre-compose'], 150,
                prefs.ThreeD);

        var right = w.add('group');
        right.orientation = 'column';
        right.preferredSize.width = 100;
        var save = right.add('button', undefined, 'Save');
        var cancel = right.add('button', undefined, 'Cancel');
        var panel = right.add('button', undefined, 'Panel');
        var help = right.add('button', undefined, 'Help');

        save.onClick = function () {
            try {
                var order = ['Padding', 'PaddingAmount', 'DeleteMask', 'IncludeMasks', 'Resolution', 'ThreeD',
                             'Expand', 'ExpandAmount'];
                for (var i = 0; i < order.length; i++) {
                    var pref = prefs[order[i]];
                    var value = pref.control[pref.property];
                    if (pref.property == 'selection') value = value === null ? pref.value : value.index;
                    if (typeof value == 'string') {
                        var parsed = parseFloat(value);
                        value = isFinite(parsed) ? parsed : pref.value;
                    }
                    app.preferences[pref.setter](SECTION, pref.name, value);
                }
                app.preferences.saveToDisk();
                if (typeof app.ZENTRIM_update_panel == 'function') app.ZENTRIM_update_panel();
            } catch (e) {
                alert(e);
            }
            w.close(0);
        };
        cancel.onClick = function () { w.close(2); };
        panel.onClick = function () { ZENTRIM_openPanelPrefs(); };
        help.onClick = function () { openHelp(); };
        w.show();
    } catch (e) {
        alert(e);
    }
})();
)";
