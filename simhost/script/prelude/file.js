// File: files in a sandbox; "~/" paths lead into it, any other path is refused.
(function (native, global) {
    var LINE_FEEDS = {Windows: "\r\n", Macintosh: "\r", Unix: "\n"};

    function File(path) {
        if (!(this instanceof File)) return new File(path);
        this._path = path === undefined ? "" : String(path);
        this._mode = null;  // the mode it is open in, or null when closed
        this.encoding = "UTF-8";
        this.lineFeed = File.fs === "Windows" ? "Windows" : "Unix";
        this.error = "";
    }

    function getter(name, get) {
        Object.defineProperty(File.prototype, name,
                              {get: get, enumerable: true, configurable: true});
    }
    getter("fullName", function () { return this._path; });
    getter("absoluteURI", function () { return this._path; });
    getter("fsName", function () { return native.fileFsName(this._path); });
    getter("name", function () {
        var parts = this._path.split(/[\/\\]/);
        return parts[parts.length - 1];
    });
    getter("exists", function () { return native.fileExists(this._path); });

    // open(mode): "r" read, "w" write (emptied), "a" append, "e" read and write.
    File.prototype.open = function (mode) {
        mode = mode === undefined ? "r" : String(mode);
        var ok = native.fileOpen(this._path, mode);
        this._mode = ok ? mode : null;
        this.error = ok ? "" : "cannot open " + this._path;
        return ok;
    };

    File.prototype.write = function () {
        if (this._mode === null || this._mode === "r") {
            this.error = "not open for writing";
            return false;
        }
        var text = "";
        for (var i = 0; i < arguments.length; i++) text += String(arguments[i]);
        return native.fileWrite(this._path, text);
    };

    File.prototype.writeln = function () {
        var text = "";
        for (var i = 0; i < arguments.length; i++) text += String(arguments[i]);
        var feed = LINE_FEEDS[this.lineFeed] === undefined ? "\n" : LINE_FEEDS[this.lineFeed];
        return this.write(text + feed);
    };

    File.prototype.read = function () {
        if (this._mode !== "r" && this._mode !== "e") {
            this.error = "not open for reading";
            return "";
        }
        var text = native.fileRead(this._path);
        return text === undefined ? "" : text;
    };

    File.prototype.close = function () {
        var wasOpen = this._mode !== null;
        this._mode = null;
        return wasOpen;
    };

    // The host would hand the file to the system to open; the simulator only records it.
    File.prototype.execute = function () {
        return native.fileExecute(this._path);
    };

    File.prototype.remove = function () {
        this._mode = null;
        return native.fileRemove(this._path);
    };

    File.prototype.toString = function () {
        return this._path;
    };

    File.fs = native.fileSystem();
    global.File = File;

    // Folder: a folder's names, and the user's standard folders, which lead into the sandbox as
    // every "~/" path does.
    function Folder(path) {
        if (!(this instanceof Folder)) return new Folder(path);
        this._path = path === undefined ? "" : String(path);
    }

    function folderGetter(name, get) {
        Object.defineProperty(Folder.prototype, name,
                              {get: get, enumerable: true, configurable: true});
    }
    folderGetter("fullName", function () { return this._path; });
    folderGetter("absoluteURI", function () { return this._path; });
    folderGetter("fsName", function () { return native.fileFsName(this._path); });
    folderGetter("name", function () {
        var parts = this._path.split(/[\/\\]/);
        return parts[parts.length - 1];
    });
    folderGetter("exists", function () { return native.fileExists(this._path); });
    Folder.prototype.toString = function () {
        return this._path;
    };

    Folder.fs = File.fs;
    Folder.myDocuments = new Folder("~/Documents");
    Folder.temp = new Folder("~/Temp");
    global.Folder = Folder;
})
