// A trailing comma in an object literal (ECMAScript 5).
var o = {a: 1,};
