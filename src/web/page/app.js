'use strict';
// The web console's page: reads the API, follows the live stream's notices of change, and
// sends the commands with the token in a header. Plain DOM, no framework.
const $ = (id) => document.getElementById(id);
const seen = { status: -1, terminals: 0, events: 0 };
const twoDigits = (n) => String(n).padStart(2, '0');
const kDayMs = 86400000;
let statusAt = 0;            // when the status was read (ms), for the ages between reads
let status = null;
let clockOffsetMs = null;    // the gateway's time of day minus this browser's, once known
const rowsByIndex = [];      // the table's rows, by list row
let events = [];
let editing = null;          // the number of the terminal being edited
let sortBy = { key: 'number', descending: false };
let live = null;             // the live stream, while open or opening
let polling = null;          // the reads every two seconds without it
let retry = null;            // its next attempt
let refused = false;         // the last read was refused for its token

// A time of day as the gateway's event lines give it: its clock where known.
function clockText(ms) {
  const t = new Date(clockOffsetMs === null ? ms - new Date(ms).getTimezoneOffset() * 60000 : ms + clockOffsetMs);
  return [t.getUTCHours(), t.getUTCMinutes(), t.getUTCSeconds()].map(twoDigits).join(':');
}

function headers(withBody) {
  const h = {};
  const token = $('token').value.trim();
  if (token) h['X-Console-Token'] = token;
  if (withBody) h['Content-Type'] = 'application/json';
  return h;
}

function tell(output, text, kind) {
  output.textContent = text;
  output.classList.toggle('ok', kind === 'ok');
  output.classList.toggle('error', kind === 'error');
}

// The page shows no state it does not know: without its stream or an answer, the badge says
// since when the gateway has not answered, until it answers again.
let silentSince = null;
function notAnswering() {
  if (silentSince === null) silentSince = Date.now();
  $('state').textContent = 'gateway not answering since ' + clockText(silentSince);
  $('state').className = 'state';
  $('heart').classList.remove('beat');
  document.body.classList.add('silent');
}

// A refused read says why at the top, where the page would show what it could not read; the
// gateway answered, so the badge says what is missing rather than that it is silent. Nothing
// is asked again until the token changes: each refusal is a line in the gateway's log.
function readRefused(why) {
  refused = true;
  clearInterval(polling);
  polling = null;
  clearTimeout(retry);
  if (!live) streamIs('closed', 'closed until a token is given');
  silentSince = null;
  document.body.classList.remove('silent');
  $('state').textContent = 'token needed';
  $('state').className = 'state';
  const place = $('readOutcome');
  const link = document.createElement('a');
  link.href = '#token';
  link.textContent = 'Enter it, or the read-only token, under Commands.';
  place.replaceChildren(why + '. ', link);
  place.hidden = false;
}

async function read(path) {
  let response;
  try {
    response = await fetch(path, { headers: headers(false), cache: 'no-store' });
  } catch (e) {
    notAnswering();
    throw e;
  }
  if (response.status === 401) {
    readRefused((await response.json()).error);
    throw new Error('token');
  }
  if (!response.ok) {  // busy, or worse: what it would say is not known
    notAnswering();
    throw new Error(response.status);
  }
  refused = false;
  $('readOutcome').hidden = true;
  return response.json();
}

// A request of the operator's: the answer, or null when the gateway did not answer.
async function ask(method, path, body) {
  try {
    const response = await fetch(path, {
      method, cache: 'no-store', headers: headers(body !== undefined),
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    return { ok: response.ok, answer: await response.json() };
  } catch (e) {
    return null;
  }
}

// A command's outcome goes where it was given, named by what was done.
async function command(method, path, body, output, what) {
  tell(output, what + '…');
  const reply = await ask(method, path, body);
  if (!reply) tell(output, what + ': the gateway did not answer.', 'error');
  // A change the gateway made but could not save is no success to be quiet about.
  else if (reply.ok && reply.answer.saved === false) tell(output, what + ': done, but not saved: ' + reply.answer.warning, 'error');
  else tell(output, reply.ok ? what + ': done.' : reply.answer.error, reply.ok ? 'ok' : 'error');
  return reply !== null && reply.ok;
}

async function checkToken() {
  const output = $('tokenOutcome');
  if (!$('token').value.trim()) {
    return tell(output, "Enter the token first: it is in WebConsole.token in the gateway's folder.", 'error');
  }
  tell(output, 'Checking the token…');
  const reply = await ask('GET', '/api/token');
  if (!reply) tell(output, 'The gateway did not answer.', 'error');
  else if (!reply.ok) tell(output, reply.answer.error, 'error');
  else if (reply.answer.access === 'command') tell(output, 'This token gives commands.', 'ok');
  else tell(output, 'This is the read-only token: this page can read, not give commands.', 'ok');
}

function age(seconds) {
  if (seconds === null) return '—';
  if (seconds < 120) return seconds + ' s';
  if (seconds < 7200) return Math.floor(seconds / 60) + ' min';
  return Math.floor(seconds / 3600) + ' h';
}

function tick() {
  if (clockOffsetMs !== null) $('clock').textContent = clockText(Date.now());
  if (!status) return;
  const passed = Math.floor((Date.now() - statusAt) / 1000);
  $('since').textContent = age(status.sinceSeconds + passed);
  $('hostData').textContent = status.hostDataSeconds === null ? '—' : age(status.hostDataSeconds + passed);
}

async function loadStatus() {
  status = await read('/api/status');
  silentSince = null;
  document.body.classList.remove('silent');
  statusAt = Date.now();
  const [h, m, s] = status.clock.split(':').map(Number);
  clockOffsetMs = (((h * 60 + m) * 60 + s) * 1000 - statusAt % kDayMs + kDayMs) % kDayMs;
  $('caption').textContent = status.caption;
  $('state').textContent = status.link;
  $('state').className = 'state ' + status.link;
  $('pause').textContent = status.link === 'PAUSE' ? 'End PAUSE' : 'PAUSE';
  $('tls').hidden = !status.tls;
  $('tls').title = status.tls || '';
  $('host').textContent = status.host;
  $('status').textContent = status.status;
  $('heart').classList.toggle('beat', status.heart);
  tick();
}

// The colour pattern's attribute digits, in words.
const kAttributes = ['red', 'green', 'red', 'green', 'red flashing', 'green flashing', 'red/green flashing'];

// The value as the terminal shows it: drawn in its colours, and as plain text beside the
// drawing, which a flashing pattern's off phase never blanks.
function showValue(cell, terminal) {
  if (terminal.value === null) return cell.replaceChildren();
  const led = document.createElement('span');
  led.className = 'led';
  led.setAttribute('aria-hidden', 'true');
  let text = '';
  const colours = [];
  [...terminal.value].forEach((c, i) => {
    const attribute = terminal.pattern[i];
    const digit = document.createElement('span');
    digit.className = 'a' + attribute;
    digit.textContent = c;
    led.append(digit);
    text += c + (attribute === '2' || attribute === '3' ? '.' : '');
    const words = kAttributes[attribute] || 'attribute ' + attribute;
    if (!colours.includes(words)) colours.push(words);
  });
  const plain = document.createElement('span');
  plain.className = 'value';
  plain.textContent = text.trim() ? text : '(blank)';
  const described = document.createElement('span');
  described.className = 'sr';
  described.textContent = ' ' + colours.join(', ');
  const shown = document.createElement('span');
  shown.className = 'shown';
  shown.title = colours.join(', ') + ' (colour ' + terminal.colour + ')';
  shown.append(led, plain, described);
  if (/[456]/.test(terminal.pattern)) {
    const flashing = document.createElement('span');
    flashing.className = 'flashing';
    flashing.textContent = 'flashing';
    shown.append(flashing);
  }
  cell.replaceChildren(shown);
}

// A row's value and when it was sent; with `whole`, its entry too (a value changes far more
// often than an entry: a broadcast redraws a thousand values, nothing else).
function fillRow(tr, t, whole) {
  const [select, number, shows, sent, description, address, type, actions, more] = tr.cells;
  if (whole) {
    select.firstChild.dataset.number = t.number;
    select.firstChild.setAttribute('aria-label', 'Select terminal ' + t.number);
    number.textContent = t.number;
    type.textContent = t.type;
    address.textContent = t.address;
    description.textContent = t.description;
    description.title = t.description;
    for (const button of [...actions.children, ...more.children]) {
      button.setAttribute('aria-label', button.textContent === '⋯' ? 'More of terminal ' + t.number
        : button.textContent + ' terminal ' + t.number);
    }
    tr.dataset.number = t.number;
  }
  showValue(shows, t);
  tr.sentAt = t.value === null ? null : Date.now() - (t.sentSecondsAgo || 0) * 1000;
  sent.textContent = tr.sentAt === null ? '' : clockText(tr.sentAt);
  tr.terminal = t;
}

function newRow() {
  const tr = document.createElement('tr');
  tr.innerHTML = '<td class="select"><input type="checkbox"></td><td class="number"></td><td class="shows"></td>' +
    '<td class="sent"></td><td class="description"></td><td class="address"></td><td class="type"></td>' +
    '<td class="actions"><button type="button" class="small edit">Edit</button> ' +
    '<button type="button" class="small remove">Remove</button></td>' +
    '<td class="more"><button type="button" class="small" aria-expanded="false">⋯</button></td>';
  return tr;
}

const kOrders = {
  number: (a, b) => Number(a.terminal.number) - Number(b.terminal.number),
  description: (a, b) => a.terminal.description.localeCompare(b.terminal.description),
  sent: (a, b) => (a.sentAt ?? -Infinity) - (b.sentAt ?? -Infinity),
};

// The rows in the order chosen, ties by number; moved only when the order changed.
function sortRows() {
  const by = kOrders[sortBy.key];
  const sign = sortBy.descending ? -1 : 1;
  const order = [...rowsByIndex].sort((a, b) => sign * by(a, b) || kOrders.number(a, b));
  const body = $('terminals');
  if (order.some((tr, i) => body.children[i] !== tr)) body.append(...order);
  for (const button of document.querySelectorAll('th button[data-sort]')) {
    button.parentElement.setAttribute('aria-sort', button.dataset.sort !== sortBy.key ? 'none'
      : sortBy.descending ? 'descending' : 'ascending');
  }
}

async function loadTerminals() {
  const answer = await read('/api/terminals?since=' + (rowsByIndex.length ? seen.terminals : 0));
  const body = $('terminals');
  if (answer.full) {
    const chosen = new Set(selectedNumbers());
    const fragment = document.createDocumentFragment();
    rowsByIndex.length = 0;
    for (const t of answer.terminals) {
      const tr = newRow();
      fillRow(tr, t, true);
      tr.cells[0].firstChild.checked = chosen.has(Number(t.number));
      rowsByIndex.push(tr);
      fragment.append(tr);
    }
    body.replaceChildren(fragment);
    $('count').textContent = '(' + answer.terminals.length + ')';
  } else {
    // Only the rows that changed, in place: a thousand terminals stay quick.
    for (const t of answer.terminals) if (rowsByIndex[t.row]) fillRow(rowsByIndex[t.row], t, false);
  }
  if (answer.full || sortBy.key === 'sent') sortRows();
  seen.terminals = answer.version;
}

function eventItems(list) {
  const mode = $('mode').value;
  const fragment = document.createDocumentFragment();
  for (const e of list) {
    if (mode && e.mode !== mode) continue;
    const li = document.createElement('li');
    li.className = e.mode;
    li.textContent = e.line;
    fragment.append(li);
  }
  return fragment;
}

function showEvents() {
  $('events').replaceChildren(eventItems(events));
}

async function loadEvents() {
  const answer = await read('/api/events?after=' + seen.events);
  // The event window's 350, newest first; only the new ones are drawn, on top.
  const gap = answer.newest - answer.events.length > seen.events;
  events = answer.events.concat(gap ? [] : events).slice(0, 350);
  seen.events = answer.newest;
  if (gap) return showEvents();
  const list = $('events');
  list.prepend(eventItems(answer.events));
  while (list.childElementCount > events.length) list.lastElementChild.remove();
}

// One refresh at a time; notices that come meanwhile make one more, with the latest: a busy
// host costs the page a few reads a second, never a queue of them.
let nextNotice = null;
let refreshing = false;
const everything = () => ({ status: NaN, terminals: NaN, events: NaN });
async function refresh(notice) {
  nextNotice = notice;
  if (refreshing) return;
  refreshing = true;
  while (nextNotice) {
    const n = nextNotice;
    nextNotice = null;
    try {
      if (n.status !== seen.status) { seen.status = n.status; await loadStatus(); }
      if (n.terminals !== seen.terminals) await loadTerminals();
      if (n.events !== seen.events) await loadEvents();
    } catch (e) { /* said already, or the next notice tries again */ }
  }
  refreshing = false;
}

function streamIs(state, text) {
  $('live').textContent = text;
  $('live').className = 'live ' + state;
}

function follow() {
  clearTimeout(retry);
  // A WebSocket sends no header of ours: the token goes as a subprotocol beside the stream's.
  const token = $('token').value.trim();
  streamIs('connecting', 'connecting…');
  live = new WebSocket((location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/live',
    token ? ['plyxen400', 'plyxen400.token.' + token] : ['plyxen400']);
  live.onopen = () => { clearInterval(polling); polling = null; streamIs('open', 'live'); };
  live.onmessage = (message) => refresh(JSON.parse(message.data));
  live.onclose = () => {
    live = null;
    if (refused) return streamIs('closed', 'closed until a token is given');
    streamIs('closed', 'closed, reading every 2 s');
    notAnswering();
    refresh(everything());
    // Without the stream the page reads every two seconds, and tries the stream again.
    if (!polling) polling = setInterval(() => refresh(everything()), 2000);
    retry = setTimeout(follow, 5000);
  };
}

function selectedNumbers() {
  return [...$('terminals').querySelectorAll('td.select input:checked')].map((box) => Number(box.dataset.number));
}

function endEditing() {
  editing = null;
  $('editor').reset();
  $('editorTitle').textContent = 'Add a terminal';
  $('editorOk').textContent = 'ADD';
  $('editorCancel').hidden = true;
}

function wire() {
  $('token').value = sessionStorage.getItem('token') || '';
  $('token').addEventListener('change', () => {
    sessionStorage.setItem('token', $('token').value.trim());
    if (!live) follow();
    refresh(everything());
    if (document.activeElement !== $('token')) checkToken();  // Enter checks through the form
  });
  $('tokenForm').onsubmit = (event) => { event.preventDefault(); checkToken(); };
  for (const [id, path] of [['synchronize', '/api/synchronize'], ['pause', '/api/pause'], ['reset', '/api/reset']]) {
    $(id).onclick = () => command('POST', path, {}, $('linkOutcome'), $(id).textContent);
  }
  for (const [id, test] of [['testDash', 'dash'], ['testNumber', 'number'], ['testTime', 'time']]) {
    $(id).onclick = () => command('POST', '/api/test', { test, terminals: selectedNumbers() }, $('testOutcome'), $(id).textContent);
  }
  $('selectAll').onchange = () => {
    for (const box of $('terminals').querySelectorAll('td.select input')) box.checked = $('selectAll').checked;
  };
  for (const button of document.querySelectorAll('th button[data-sort]')) {
    button.onclick = () => {
      const key = button.dataset.sort;
      // The newest first when sorting by sent; a second press turns the order round.
      sortBy = { key, descending: key === sortBy.key ? !sortBy.descending : key === 'sent' };
      sortRows();
    };
  }
  $('mode').onchange = showEvents;
  $('terminals').onclick = async (event) => {
    const button = event.target.closest('button');
    if (!button) return;
    const tr = button.closest('tr');
    if (button.classList.contains('remove')) {
      const output = $('listOutcome');
      await command('DELETE', '/api/terminals/' + tr.dataset.number, undefined, output, 'Remove terminal ' + tr.dataset.number);
      output.scrollIntoView({ block: 'nearest' });
    } else if (button.classList.contains('edit')) {
      editing = tr.dataset.number;
      $('number').value = tr.terminal.number;
      $('address').value = tr.terminal.address;
      $('description').value = tr.terminal.description;
      $('editorTitle').textContent = 'Edit terminal ' + editing;
      $('editorOk').textContent = 'EDIT';
      $('editorCancel').hidden = false;
      $('number').focus();
    } else {
      button.setAttribute('aria-expanded', String(tr.classList.toggle('open')));
    }
  };
  $('editorCancel').onclick = endEditing;
  $('editor').onsubmit = async (event) => {
    event.preventDefault();
    const terminal = { number: $('number').value, address: $('address').value, description: $('description').value };
    const output = $('editorOutcome');
    const done = editing === null ? await command('POST', '/api/terminals', terminal, output, 'Add terminal ' + terminal.number)
      : await command('PUT', '/api/terminals/' + editing, terminal, output, 'Edit terminal ' + editing);
    if (done) endEditing();
  };
  setInterval(tick, 1000);
  if ($('token').value) checkToken();
}

wire();
refresh({ status: 0, terminals: NaN, events: NaN });
follow();
