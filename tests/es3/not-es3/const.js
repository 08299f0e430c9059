// A const declaration (ECMAScript 2015).
const x = 1;
