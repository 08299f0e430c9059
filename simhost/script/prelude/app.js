// app: the host's preferences, its menu commands and its project (items, layers and their masks),
// read live.
(function (native, global) {
    function getter(proto, name, get) {
        Object.defineProperty(proto, name, {get: get, enumerable: true, configurable: true});
    }

    // ---- preferences ----

    function prefGet(kind) {
        return function (section, key) {
            var value = native.prefGet(kind, String(section), String(key));
            if (value === undefined) {
                throw new Error('preference "' + key + '" not found in section "' + section + '"');
            }
            return value;
        };
    }

    function prefSave(kind, convert) {
        return function (section, key, value) {
            native.prefSave(kind, String(section), String(key), convert(value));
        };
    }

    // The third argument of the host's calls (which preferences file) is accepted and ignored:
    // the simulator keeps one store.
    var preferences = {
        havePref: function (section, key) {
            return native.prefHave(String(section), String(key));
        },
        getPrefAsBool: prefGet("bool"),
        getPrefAsFloat: prefGet("float"),
        getPrefAsLong: prefGet("long"),
        getPrefAsString: prefGet("string"),
        savePrefAsBool: prefSave("bool", Boolean),
        savePrefAsFloat: prefSave("float", Number),
        savePrefAsLong: prefSave("long", Number),
        savePrefAsString: prefSave("string", String),
        saveToDisk: function () {
            native.prefSaveToDisk();
        },
        reload: function () {}
    };

    global.PREFType = {
        PREF_Type_MACHINE_SPECIFIC: 0,
        PREF_Type_MACHINE_INDEPENDENT: 1,
        PREF_Type_MACHINE_INDEPENDENT_RENDER: 2,
        PREF_Type_MACHINE_INDEPENDENT_OUTPUT: 3,
        PREF_Type_MACHINE_INDEPENDENT_COMPOSITION: 4
    };

    // ---- project: every read asks the host afresh, since the plug-in changes the project ----

    function invalid() {
        return new Error("Object is invalid");
    }

    function itemData(id) {
        var text = native.item(id);
        if (text === undefined) throw invalid();
        return native.parseJson(text);
    }

    function layerData(id) {
        var text = native.layer(id);
        if (text === undefined) throw invalid();
        return native.parseJson(text);
    }

    function Item(id) {
        this._id = id;
    }
    getter(Item.prototype, "id", function () { return itemData(this._id).id; });
    getter(Item.prototype, "name", function () { return itemData(this._id).name; });
    getter(Item.prototype, "typeName", function () {
        var type = itemData(this._id).type;
        return type === "comp" ? "Composition" : type === "folder" ? "Folder" : "Footage";
    });

    function FolderItem(id) {
        Item.call(this, id);
    }
    FolderItem.prototype = Object.create(Item.prototype);
    FolderItem.prototype.constructor = FolderItem;

    function AVItem(id) {
        Item.call(this, id);
    }
    AVItem.prototype = Object.create(Item.prototype);
    AVItem.prototype.constructor = AVItem;
    getter(AVItem.prototype, "width", function () { return itemData(this._id).width; });
    getter(AVItem.prototype, "height", function () { return itemData(this._id).height; });

    function FootageItem(id) {
        AVItem.call(this, id);
    }
    FootageItem.prototype = Object.create(AVItem.prototype);
    FootageItem.prototype.constructor = FootageItem;

    function CompItem(id) {
        AVItem.call(this, id);
    }
    CompItem.prototype = Object.create(AVItem.prototype);
    CompItem.prototype.constructor = CompItem;
    getter(CompItem.prototype, "numLayers", function () {
        return itemData(this._id).layers.length;
    });
    getter(CompItem.prototype, "frameRate", function () { return itemData(this._id).frameRate; });
    getter(CompItem.prototype, "duration", function () { return itemData(this._id).duration; });
    CompItem.prototype.layer = function (index) {
        var ids = itemData(this._id).layers;
        if (typeof index !== "number" || index % 1 !== 0 || index < 1 || index > ids.length) {
            throw new Error("layer(" + index + "): index out of range 1.." + ids.length);
        }
        return wrapLayer(ids[index - 1]);
    };
    // A fresh collection on every read: layers[1] is the top layer, as in the host.
    getter(CompItem.prototype, "layers", function () {
        var ids = itemData(this._id).layers;
        var collection = {length: ids.length};
        for (var i = 0; i < ids.length; i++) collection[i + 1] = wrapLayer(ids[i]);
        return collection;
    });
    getter(CompItem.prototype, "selectedLayers", function () {
        var ids = itemData(this._id).layers, selected = [];
        for (var i = 0; i < ids.length; i++) {
            if (layerData(ids[i]).selected) selected.push(wrapLayer(ids[i]));
        }
        return selected;
    });

    function wrapItem(id) {
        if (!id) return null;
        var type = itemData(id).type;
        if (type === "comp") return new CompItem(id);
        if (type === "folder") return new FolderItem(id);
        return new FootageItem(id);
    }

    function Layer(id) {
        this._id = id;
    }
    getter(Layer.prototype, "id", function () { return layerData(this._id).id; });
    getter(Layer.prototype, "name", function () { return layerData(this._id).name; });
    getter(Layer.prototype, "index", function () { return layerData(this._id).index; });
    getter(Layer.prototype, "selected", function () { return layerData(this._id).selected; });
    getter(Layer.prototype, "containingComp", function () {
        return wrapItem(layerData(this._id).comp);
    });
    // The group of masks by its display or match name; other groups are not simulated.
    Layer.prototype.property = function (name) {
        if (name === "Masks" || name === "ADBE Mask Parade") return new MaskGroup(this._id);
        return null;
    };

    function AVLayer(id) {
        Layer.call(this, id);
    }
    AVLayer.prototype = Object.create(Layer.prototype);
    AVLayer.prototype.constructor = AVLayer;
    getter(AVLayer.prototype, "source", function () {
        return wrapItem(layerData(this._id).source);
    });

    function subclass(base) {
        function Sub(id) {
            base.call(this, id);
        }
        Sub.prototype = Object.create(base.prototype);
        Sub.prototype.constructor = Sub;
        return Sub;
    }
    var TextLayer = subclass(AVLayer), ShapeLayer = subclass(AVLayer);
    var CameraLayer = subclass(Layer), LightLayer = subclass(Layer);

    function wrapLayer(id) {
        var kind = layerData(id).kind;
        if (kind === "text") return new TextLayer(id);
        if (kind === "shape") return new ShapeLayer(id);
        if (kind === "camera") return new CameraLayer(id);
        if (kind === "light") return new LightLayer(id);
        return new AVLayer(id);
    }

    function masksOf(layerId) {
        return layerData(layerId).masks;
    }

    function MaskGroup(layerId) {
        this._layer = layerId;
    }
    getter(MaskGroup.prototype, "name", function () { return "Masks"; });
    getter(MaskGroup.prototype, "matchName", function () { return "ADBE Mask Parade"; });
    getter(MaskGroup.prototype, "numProperties", function () {
        return masksOf(this._layer).length;
    });
    // property(i) from 1, or property(name): the mask, or null when there is none.
    MaskGroup.prototype.property = function (which) {
        var masks = masksOf(this._layer);
        for (var i = 0; i < masks.length; i++) {
            if (which === i + 1 || (typeof which === "string" && masks[i].name === which)) {
                return new Mask(this._layer, masks[i].id);
            }
        }
        return null;
    };

    function Mask(layerId, maskId) {
        this._layer = layerId;
        this._id = maskId;
    }
    function maskData(mask) {
        var masks = masksOf(mask._layer);
        for (var i = 0; i < masks.length; i++) {
            if (masks[i].id === mask._id) return {data: masks[i], index: i + 1};
        }
        throw invalid();
    }
    getter(Mask.prototype, "name", function () { return maskData(this).data.name; });
    getter(Mask.prototype, "selected", function () { return maskData(this).data.selected; });
    getter(Mask.prototype, "propertyIndex", function () { return maskData(this).index; });
    getter(Mask.prototype, "matchName", function () { return "ADBE Mask Atom"; });

    var project = {
        item: function (index) {
            var id = typeof index === "number" && index % 1 === 0 ? native.itemIdAt(index - 1)
                                                                    : undefined;
            if (id === undefined) {
                throw new Error("item(" + index + "): index out of range 1.." + native.numItems());
            }
            return wrapItem(id);
        }
    };
    getter(project, "numItems", function () { return native.numItems(); });
    getter(project, "activeItem", function () { return wrapItem(native.activeItemId()); });

    global.app = {
        preferences: preferences,
        project: project,
        // The number of the menu command shown with this name (0 when there is none), for
        // scripts that start a plug-in's command.
        findMenuCommandId: function (name) {
            return native.findMenuCommandId(String(name));
        }
    };
    global.Item = Item;
    global.FolderItem = FolderItem;
    global.AVItem = AVItem;
    global.FootageItem = FootageItem;
    global.CompItem = CompItem;
    global.Layer = Layer;
    global.AVLayer = AVLayer;
    global.TextLayer = TextLayer;
    global.ShapeLayer = ShapeLayer;
    global.CameraLayer = CameraLayer;
    global.LightLayer = LightLayer;
    global.MaskPropertyGroup = Mask;
})
