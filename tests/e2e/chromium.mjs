// Headless Chromium for one test, driven over the DevTools protocol with
// Node's own WebSocket (node --experimental-websocket), no package needed.
//
//   node --experimental-websocket chromium.mjs <user data folder> <log file>
//
// It starts Debian's chromium with a fresh profile in the given folder and
// connects to its one page. Then it reads one command a line on standard
// input, as JSON, and answers one line each on standard output:
//   {"id": n, "method": "Page.navigate", "params": {...}}  -> {"id": n, "result": {...}}
//   {"id": n, "method": "screenshot", "params": {"clip": {...}, "path": "..."}}
//        writes the clip's pixels to path as 8-bit RGB rows and answers
//        {"id": n, "result": {"width": w, "height": h}}
//   {"id": n, "method": "subscribe", "params": {"events": ["Runtime.consoleAPICalled", ...]}}
// Every DevTools event subscribed to comes as {"event": method, "params": {...}}.
// It ends, and Chromium with it, when standard input closes.
import { spawn } from 'node:child_process';
import { existsSync, readFileSync, writeFileSync, openSync } from 'node:fs';
import { join } from 'node:path';
import { createInterface } from 'node:readline';
import { inflateSync } from 'node:zlib';

const [profile, logPath] = process.argv.slice(2);
const log = openSync(logPath, 'a');
// Flags: no sandbox (the tests run as root), no traffic of Chromium's own to
// addresses this machine cannot reach, and WebGL 2 in software (SwiftShader),
// through which Qt's WebAssembly platform composes its windows.
const chromium = spawn('chromium', [
    '--headless=new', '--no-sandbox', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--disable-quic',
    '--disable-default-apps', '--disable-extensions', '--disable-breakpad',
    '--use-gl=swiftshader', '--enable-unsafe-swiftshader',
    `--user-data-dir=${profile}`, '--remote-debugging-port=0', 'about:blank',
], { stdio: ['ignore', log, log] });
chromium.on('exit', () => process.exit(0));
// Chromium goes with this driver, however it ends: a test killed at its
// time-out leaves no browser behind.
process.on('exit', () => chromium.kill('SIGKILL'));
for (const signal of ['SIGTERM', 'SIGINT', 'SIGHUP'])
    process.on(signal, () => process.exit(1));

function sleep(ms) { return new Promise(resolve => setTimeout(resolve, ms)); }

// Chromium writes its port into the profile once it listens.
async function devToolsPort() {
    const file = join(profile, 'DevToolsActivePort');
    for (let waited = 0; waited < 60000; waited += 50) {
        if (existsSync(file)) {
            const [port] = readFileSync(file, 'utf8').split('\n');
            if (port) return port;
        }
        await sleep(50);
    }
    throw new Error('Chromium opened no DevTools port within 60 s');
}

const port = await devToolsPort();
let target;
for (let waited = 0; !target && waited < 30000; waited += 100) {
    const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
    target = targets.find(t => t.type === 'page');
    if (!target) await sleep(100);
}
const socket = new WebSocket(target.webSocketDebuggerUrl);
await new Promise((resolve, reject) => { socket.onopen = resolve; socket.onerror = reject; });

const pending = new Map();
const subscribed = new Set(['Inspector.targetCrashed']);
let nextId = 1;
function send(method, params = {}) {
    const id = nextId++;
    socket.send(JSON.stringify({ id, method, params }));
    return new Promise((resolve, reject) => pending.set(id, { resolve, reject }));
}
function answer(line) { process.stdout.write(JSON.stringify(line) + '\n'); }
socket.onmessage = ({ data }) => {
    const message = JSON.parse(data);
    if (message.id !== undefined) {
        const { resolve, reject } = pending.get(message.id);
        pending.delete(message.id);
        if (message.error) reject(new Error(message.error.message));
        else resolve(message.result);
    } else if (subscribed.has(message.method)) {
        answer({ event: message.method, params: message.params });
    }
};
socket.onclose = () => process.exit(0);

// A PNG's pixels as RGB rows: 8-bit RGB or RGBA, not interlaced, as
// Chromium's screenshots are.
function decodePng(png) {
    let width, height, channels;
    const data = [];
    for (let at = 8; at < png.length;) {
        const length = png.readUInt32BE(at), kind = png.toString('latin1', at + 4, at + 8);
        const body = png.subarray(at + 8, at + 8 + length);
        if (kind === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            if (body[8] !== 8 || ![2, 6].includes(body[9]) || body[12] !== 0)
                throw new Error('unexpected PNG format');
            channels = body[9] === 6 ? 4 : 3;
        } else if (kind === 'IDAT') {
            data.push(body);
        }
        at += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(data));
    const stride = width * channels;
    const rows = Buffer.alloc(stride * height);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        const out = rows.subarray(y * stride, (y + 1) * stride);
        const up = y ? rows.subarray((y - 1) * stride, y * stride) : Buffer.alloc(stride);
        for (let i = 0; i < stride; ++i) {
            const a = i >= channels ? out[i - channels] : 0, b = up[i];
            const c = i >= channels ? up[i - channels] : 0;
            let value = line[i];
            if (filter === 1) value += a;
            else if (filter === 2) value += b;
            else if (filter === 3) value += (a + b) >> 1;
            else if (filter === 4) {
                const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
                value += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            out[i] = value & 0xff;
        }
    }
    if (channels === 3) return { width, height, rgb: rows };
    const rgb = Buffer.alloc(width * height * 3);
    for (let i = 0, j = 0; i < rows.length; i += 4, j += 3) {
        rgb[j] = rows[i]; rgb[j + 1] = rows[i + 1]; rgb[j + 2] = rows[i + 2];
    }
    return { width, height, rgb };
}

async function run({ method, params }) {
    if (method === 'subscribe') {
        params.events.forEach(e => subscribed.add(e));
        return {};
    }
    if (method === 'screenshot') {
        const { data } = await send('Page.captureScreenshot',
                                    { format: 'png', clip: { ...params.clip, scale: params.scale || 1 } });
        const { width, height, rgb } = decodePng(Buffer.from(data, 'base64'));
        writeFileSync(params.path, rgb);
        return { width, height };
    }
    return send(method, params);
}

answer({ event: 'ready', params: { port, pid: chromium.pid } });
for await (const line of createInterface({ input: process.stdin })) {
    const command = JSON.parse(line);
    run(command).then(result => answer({ id: command.id, result }),
                      error => answer({ id: command.id, error: String(error.message || error) }));
}
process.exit(0);
