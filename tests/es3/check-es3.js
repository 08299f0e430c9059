// Parses script files as ECMAScript 3, the host's scripting language, with Debian's node-acorn:
// every file must parse, and no string may run over a line break (a line continuation is a later
// edition's). Usage: node check-es3.js FILE... ; with --expect-failure every file must fail.
'use strict';
const fs = require('fs');

function loadAcorn() {
    // Debian installs node modules under /usr/share/nodejs, which a node of another origin does
    // not search by itself.
    for (const where of ['acorn', '/usr/share/nodejs/acorn']) {
        try {
            return require(where);
        } catch (e) {
            // try the next place
        }
    }
    console.error('check-es3: the acorn parser is missing: install node-acorn (scripts/bootstrap.sh)');
    process.exit(2);
}

const acorn = loadAcorn();
const args = process.argv.slice(2);
const expectFailure = args[0] === '--expect-failure';
const files = expectFailure ? args.slice(1) : args;
if (files.length === 0) {
    console.error('usage: node check-es3.js [--expect-failure] FILE...');
    process.exit(2);
}

// The first problem of a script text, or null when it is valid ECMAScript 3.
function problem(text) {
    const options = {ecmaVersion: 3, allowReserved: 'never', locations: true};
    try {
        for (const token of acorn.tokenizer(text, options)) {
            const raw = text.slice(token.start, token.end);
            if (token.type === acorn.tokTypes.string && /[\n\r\u2028\u2029]/.test(raw)) {
                const at = token.loc.start;
                return `a string runs over a line break (${at.line}:${at.column + 1})`;
            }
        }
        acorn.parse(text, options);
        return null;
    } catch (e) {
        return e.message;
    }
}

let failed = 0;
for (const file of files) {
    const found = problem(fs.readFileSync(file, 'utf8'));
    if (expectFailure) {
        if (found === null) {
            console.error(`${file}: parsed as ECMAScript 3, but it should not`);
            failed++;
        } else {
            console.log(`${file}: refused as expected: ${found}`);
        }
    } else if (found !== null) {
        console.error(`${file}: not ECMAScript 3: ${found}`);
        failed++;
    }
}
if (!expectFailure && failed === 0) console.log(`check-es3: ${files.length} files are ECMAScript 3`);
process.exit(failed === 0 ? 0 : 1);
