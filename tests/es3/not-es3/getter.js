// A getter in an object literal (ECMAScript 5).
var o = {get size() { return 1; }};
