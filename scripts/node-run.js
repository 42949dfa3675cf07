#!/usr/bin/env node
// Runs a test program of the web build under Node, as ctest's emulator:
//
//   node scripts/node-run.js <program>.js [arguments]
//
// Qt builds a program for WebAssembly as a module factory (createQtAppInstance)
// that a page calls; this calls it with the arguments, and the process ends
// with the status that main() returns.
'use strict';

const fs = require('fs');
const path = require('path');

const [program, ...args] = process.argv.slice(2);
if (!program) {
    console.error('usage: node-run.js <program>.js [arguments]');
    process.exit(2);
}
const createInstance = require(path.resolve(program));
createInstance({
    arguments: args,
    // Node's fetch() takes no file names: the program's WebAssembly comes from the disk.
    wasmBinary: fs.readFileSync(path.resolve(program).replace(/\.js$/, '.wasm')),
    thisProgram: path.basename(program, '.js'),
    print: text => process.stdout.write(text + '\n'),
    printErr: text => process.stderr.write(text + '\n'),
    onExit: status => { process.exitCode = status; },
    onAbort: what => {
        process.stderr.write(`aborted: ${what}\n`);
        process.exit(134);
    },
}).catch(error => {
    if (error && error.name === 'ExitStatus')
        return;
    process.stderr.write(`${error && error.stack || error}\n`);
    process.exit(1);
});
