'use strict';
// The web console's page: reads the API, follows the live stream's notices of change, and
// sends the commands with the token in a header. Plain DOM, no framework.
const $ = (id) => document.getElementById(id);
const seen = { status: -1, terminals: 0, events: 0 };
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

async function read(path) {
  const response = await fetch(path, { headers: headers(false), cache: 'no-store' });
  if (response.status === 401) {
    say('Reading from this address needs the token: enter it above.', true);
    throw new Error('token');
  }
  return response.json();
}

async function command(method, path, body) {
  try {
    const response = await fetch(path, {
      method, headers: headers(body !== undefined), body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await response.json();
    say(response.ok ? 'Done.' : answer.error, !response.ok);
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

function fillRow(tr, t) {
  const [select, number, type, address, description, shows, sent] = tr.cells;
  select.firstChild.dataset.number = t.number;
  select.firstChild.setAttribute('aria-label', 'Select terminal ' + t.number);
  number.textContent = t.number;
  type.textContent = t.type;
  address.textContent = t.address;
  description.textContent = t.description;
  led(shows, t);
  sent.textContent = t.value === null ? '' :
    new Date(Date.now() - t.sentSecondsAgo * 1000).toLocaleTimeString();
  tr.dataset.number = t.number;
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
      fillRow(tr, t);
      tr.cells[0].firstChild.checked = chosen.has(Number(t.number));
      rowsByIndex.push(tr);
      fragment.append(tr);
    }
    body.replaceChildren(fragment);
    $('count').textContent = '(' + answer.terminals.length + ')';
  } else {
    // Only the rows that changed, in place: a thousand terminals stay quick.
    for (const t of answer.terminals) if (rowsByIndex[t.row]) fillRow(rowsByIndex[t.row], t);
  }
  seen.terminals = answer.version;
}

function showEvents() {
  const mode = $('mode').value;
  const list = $('events');
  const fragment = document.createDocumentFragment();
  for (const e of events) {
    if (mode && e.mode !== mode) continue;
    const li = document.createElement('li');
    li.className = e.mode;
    li.textContent = e.line;
    fragment.append(li);
  }
  list.replaceChildren(fragment);
}

async function loadEvents() {
  const answer = await read('/api/events?after=' + seen.events);
  // The event window's 350, newest first.
  events = answer.events.concat(answer.newest - answer.events.length > seen.events ? [] : events).slice(0, 350);
  seen.events = answer.newest;
  showEvents();
}

async function refresh(notice) {
  try {
    if (notice.status !== seen.status) { seen.status = notice.status; await loadStatus(); }
    if (notice.terminals !== seen.terminals) await loadTerminals();
    if (notice.events !== seen.events) await loadEvents();
  } catch (e) { /* said already, or the next notice tries again */ }
}

let polling = null;
function follow() {
  const live = new WebSocket((location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/live');
  live.onopen = () => { clearInterval(polling); polling = null; };
  live.onmessage = (message) => refresh(JSON.parse(message.data));
  live.onclose = () => {
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
