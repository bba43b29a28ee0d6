'use strict';
// The web console's page: reads the API, follows the live stream's notices of change, and
// sends the commands with the token in a header. Plain DOM, no framework.
const $ = (id) => document.getElementById(id);
const seen = { status: -1, terminals: 0, events: 0 };
const twoDigits = (n) => String(n).padStart(2, '0');
let statusAt = 0;            // when the status was read (ms), for the ages between reads
let status = null;
const rowsByIndex = [];      // the table's rows, by list row
let events = [];
let editing = null;          // the number of the terminal being edited

function headers(withBody) {
  const h = {};
  const token = $('token').value.trim();
  if (token) h['X-Console-Token'] = token;
  if (withBody) h['Content-Type'] = 'application/json';
  return h;
}

function say(text, isError) {
  $('message').textContent = text;
  $('message').className = isError ? 'error' : '';
}

// The page shows no state it does not know: without its stream or an answer, the badge says
// since when the gateway has not answered, until it answers again.
let silentSince = null;
function notAnswering() {
  if (silentSince === null) silentSince = new Date();
  const t = silentSince;
  $('state').textContent = 'gateway not answering since ' +
    [t.getHours(), t.getMinutes(), t.getSeconds()].map(twoDigits).join(':');
  $('state').className = 'state';
  $('heart').classList.remove('beat');
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
    say('Reading from this address needs the token: enter it above.', true);
    throw new Error('token');
  }
  if (!response.ok) {  // busy, or worse: what it would say is not known
    notAnswering();
    throw new Error(response.status);
  }
  return response.json();
}

async function command(method, path, body) {
  try {
    const response = await fetch(path, {
      method, headers: headers(body !== undefined), body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await response.json();
    // A change the gateway made but could not save is no success to be quiet about.
    if (response.ok && answer.saved === false) say('Done, but not saved: ' + answer.warning, true);
    else say(response.ok ? 'Done.' : answer.error, !response.ok);
    return response.ok;
  } catch (e) {
    say('The gateway did not answer.', true);
    return false;
  }
}

function age(seconds) {
  if (seconds === null) return '—';
  if (seconds < 120) return seconds + ' s';
  if (seconds < 7200) return Math.floor(seconds / 60) + ' min';
  return Math.floor(seconds / 3600) + ' h';
}

function showAges() {
  if (!status) return;
  const passed = Math.floor((Date.now() - statusAt) / 1000);
  $('since').textContent = age(status.sinceSeconds + passed);
  $('hostData').textContent = status.hostDataSeconds === null ? '—' : age(status.hostDataSeconds + passed);
}

async function loadStatus() {
  status = await read('/api/status');
  silentSince = null;
  statusAt = Date.now();
  $('caption').textContent = status.caption;
  $('state').textContent = status.link;
  $('state').className = 'state ' + status.link;
  $('pause').textContent = status.link === 'PAUSE' ? 'End PAUSE' : 'PAUSE';
  $('tls').hidden = !status.tls;
  $('tls').title = status.tls || '';
  $('host').textContent = status.host;
  $('status').textContent = status.status;
  $('heart').classList.toggle('beat', status.heart);
  showAges();
}

function led(cell, terminal) {
  const shows = document.createElement('span');
  shows.className = 'led';
  if (terminal.value === null) {
    cell.replaceChildren();
    return;
  }
  [...terminal.value].forEach((c, i) => {
    const digit = document.createElement('span');
    digit.className = 'a' + terminal.pattern[i];
    digit.textContent = c;
    shows.append(digit);
  });
  shows.setAttribute('aria-label', terminal.value + ' in colour ' + terminal.colour);
  cell.replaceChildren(shows);
}

// A row's value and when it was sent; with `whole`, its entry too (a value changes far more
// often than an entry: a broadcast redraws a thousand values, nothing else).
function fillRow(tr, t, whole) {
  const [select, number, type, address, description, shows, sent] = tr.cells;
  if (whole) {
    select.firstChild.dataset.number = t.number;
    select.firstChild.setAttribute('aria-label', 'Select terminal ' + t.number);
    number.textContent = t.number;
    type.textContent = t.type;
    address.textContent = t.address;
    description.textContent = t.description;
    tr.dataset.number = t.number;
  }
  led(shows, t);
  const at = new Date(Date.now() - (t.sentSecondsAgo || 0) * 1000);
  sent.textContent = t.value === null ? '' :
    twoDigits(at.getHours()) + ':' + twoDigits(at.getMinutes()) + ':' + twoDigits(at.getSeconds());
  tr.terminal = t;
}

function newRow() {
  const tr = document.createElement('tr');
  tr.innerHTML = '<td><input type="checkbox"></td><td></td><td class="type"></td><td></td>' +
    '<td class="description"></td><td></td><td></td><td><button type="button" class="small edit">Edit</button> ' +
    '<button type="button" class="small remove">Remove</button></td>';
  return tr;
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

let polling = null;
function follow() {
  // A WebSocket sends no header of ours: the token goes as a subprotocol beside the stream's.
  const token = $('token').value.trim();
  const live = new WebSocket((location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/live',
    token ? ['plyxen400', 'plyxen400.token.' + token] : ['plyxen400']);
  live.onopen = () => { clearInterval(polling); polling = null; };
  live.onmessage = (message) => refresh(JSON.parse(message.data));
  live.onclose = () => {
    notAnswering();
    refresh({ status: NaN, terminals: NaN, events: NaN });
    // Without the stream the page reads every two seconds, and tries the stream again.
    if (!polling) polling = setInterval(() => refresh({ status: NaN, terminals: NaN, events: NaN }), 2000);
    setTimeout(follow, 5000);
  };
}

function selectedNumbers() {
  return [...$('terminals').querySelectorAll('input:checked')].map((box) => Number(box.dataset.number));
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
  $('token').addEventListener('change', () => sessionStorage.setItem('token', $('token').value.trim()));
  $('synchronize').onclick = () => command('POST', '/api/synchronize', {});
  $('pause').onclick = () => command('POST', '/api/pause', {});
  $('reset').onclick = () => command('POST', '/api/reset', {});
  for (const [id, test] of [['testDash', 'dash'], ['testNumber', 'number'], ['testTime', 'time']]) {
    $(id).onclick = () => command('POST', '/api/test', { test, terminals: selectedNumbers() });
  }
  $('selectAll').onchange = () => {
    for (const box of $('terminals').querySelectorAll('input')) box.checked = $('selectAll').checked;
  };
  $('mode').onchange = showEvents;
  $('terminals').onclick = async (event) => {
    const tr = event.target.closest('tr');
    if (event.target.classList.contains('remove')) {
      await command('DELETE', '/api/terminals/' + tr.dataset.number);
    } else if (event.target.classList.contains('edit')) {
      editing = tr.dataset.number;
      $('number').value = tr.terminal.number;
      $('address').value = tr.terminal.address;
      $('description').value = tr.terminal.description;
      $('editorTitle').textContent = 'Edit terminal ' + editing;
      $('editorOk').textContent = 'EDIT';
      $('editorCancel').hidden = false;
      $('number').focus();
    }
  };
  $('editorCancel').onclick = endEditing;
  $('editor').onsubmit = async (event) => {
    event.preventDefault();
    const terminal = { number: $('number').value, address: $('address').value, description: $('description').value };
    const done = editing === null ? await command('POST', '/api/terminals', terminal)
      : await command('PUT', '/api/terminals/' + editing, terminal);
    if (done) endEditing();
  };
  setInterval(showAges, 1000);
}

wire();
refresh({ status: 0, terminals: NaN, events: NaN });
follow();
