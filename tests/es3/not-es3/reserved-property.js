// A reserved word as a property name (ECMAScript 5).
var c = o.class;
