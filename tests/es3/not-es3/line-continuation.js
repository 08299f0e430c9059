// A string continued over a line break (ECMAScript 5).
var s = 'one \
two';
