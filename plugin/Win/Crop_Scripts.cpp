// The script texts of the crop engine. Line breaks inside quoted script strings are written as
// escape sequences so that every text is valid in the host's scripting language.
#include "Crop_Scripts.h"

namespace crop {

const char* const kNoLayersToCropAlert =
    "alert('There are no selected layers at the current time slider position.', 'No Layers to "
    "Crop');";

const char* const kNothingToCropAlert =
    "alert('This composition is empty at the current time.', 'Nothing to Crop');";

const char* const kSizeOutOfRangeAlertFormat =
    "alert('The composition \"%s\" would be %s x %s pixels after this crop, but a composition "
    "can only be 1 to 30000 pixels wide and high. Nothing was changed.', 'Size Out of Range');";

const char* const kSizeOutOfRangeAfterChangesAlertFormat =
    "alert('The composition \"%s\" would be %s x %s pixels after this crop, but a composition "
    "can only be 1 to 30000 pixels wide and high. It was not cropped; what this command changed "
    "before stays, and one undo takes it all back.', 'Size Out of Range');";

const char* const kSkippedLayersReportFormat = R"(var indexA = [%s];
var namesA = [];
for (var i = 0; i < indexA.length; i++) {
    namesA.push(app.project.activeItem.layer(indexA[i] + 1).name);
}
alert('Some layers were not cropped:\r\n\r\n' + namesA.join(', ') + '\r\n\r\nThis is most likely because these layers have no content at the current time', 'Some Layers Not Cropped');
)";

const char* const kLowResolutionDialogFormat = R"((function () {
    var ACCURATE = 1;
    var FAST = 2;
    var w = new Window('dialog', 'Low Resolution', undefined, {closeButton: false});
    w.preferredSize.width = 400;
    w.alignChildren = ['fill', 'top'];
    w.orientation = 'column';
    w.onClose = function () { return FAST; };
    w.add('statictext', undefined, 'Zentrim requires a full resolution render to give you precise ' +
        'results, but your composition is currently set to ' + '%s' + '.' + '\r\n\r\n' + 'Would you like ' +
        'to render at full resolution for accuracy or at the current resolution?', {multiline: true});
    var row = w.add('group');
    row.alignment = 'right';
    var buttons = row.add('group');
    var accurate = buttons.add('button', undefined, 'Accurate');
    var fast = buttons.add('button', undefined, 'Fast');
    var options = row.add('group');
    var spacer = options.add('statictext', undefined, '     ');
    spacer.preferredSize.width = 70;
    var remember = options.add('checkbox', undefined, 'Remember My Choice');
    accurate.onClick = function () {
        if (remember.value) {
            app.preferences.savePrefAsLong('Zentrim', 'Resolution', ACCURATE);
            app.preferences.saveToDisk();
        }
        w.close(ACCURATE);
    };
    fast.onClick = function () {
        if (remember.value) {
            app.preferences.savePrefAsLong('Zentrim', 'Resolution', FAST);
            app.preferences.saveToDisk();
        }
        w.close(FAST);
    };
    return w.show() == FAST ? FAST : ACCURATE;
})();
)";

const char* const kThreeDDialog = R"((function () {
    var PRECOMP = 1;
    var NO = 2;
    var w = new Window('dialog', '3D Layers', undefined, {closeButton: false});
    w.preferredSize.width = 400;
    w.alignChildren = ['fill', 'top'];
    w.orientation = 'column';
    w.onClose = function () { return NO; };
    w.add('statictext', undefined, 'The composition you are about to crop contains 3D layers which may cause unexpected results.\r\n\r\n Would you like to pre-compose the contents to avoid possible layer shifting?', {multiline: true});
    var row = w.add('group');
    row.alignment = 'right';
    var buttons = row.add('group');
    var yes = buttons.add('button', undefined, 'Yes');
    var no = buttons.add('button', undefined, 'No');
    var options = row.add('group');
    var spacer = options.add('statictext', undefined, '     ');
    spacer.preferredSize.width = 70;
    var remember = options.add('checkbox', undefined, 'Remember My Choice');
    yes.onClick = function () {
        if (remember.value) {
            app.preferences.savePrefAsLong('Zentrim', 'ThreeD', PRECOMP);
            app.preferences.saveToDisk();
        }
        w.close(PRECOMP);
    };
    no.onClick = function () {
        if (remember.value) {
            app.preferences.savePrefAsLong('Zentrim', 'ThreeD', NO);
            app.preferences.saveToDisk();
        }
        w.close(NO);
    };
    return w.show() != NO;
})();
)";

const char* const kChooseMaskDialog = R"((function () {
    var names = [0];
    var layer = app.project.activeItem.selectedLayers[0];
    var masks = layer.property('Masks');
    for (var i = 1; i <= masks.numProperties; i++) {
        names[i - 1] = masks.property(i).name;
    }
    var accepted = false;
    var w = new Window('dialog', 'Choose Mask');
    w.margins = [10, 10, 10, 10];
    w.orientation = 'column';
    w.alignChildren = ['fill', 'top'];
    var list = w.add('listbox', undefined, names);
    list.minimumSize = [300, 50];
    list.maximumSize = [400, 150];
    list.selection = 0;
    var buttons = w.add('group');
    buttons.orientation = 'row';
    buttons.alignment = 'center';
    var ok = buttons.add('button', undefined, 'OK');
    var cancel = buttons.add('button', undefined, 'Cancel');
    ok.onClick = function () {
        accepted = true;
        w.close(1);
    };
    cancel.onClick = function () { w.close(2); };
    w.show();
    return (accepted && list.selection !== null) ? list.selection.index : -1;
})();
)";

}  // namespace crop
