// What the operator needs, on screen at the width the page has: arguments[0] says whether it
// is a desktop's (the events beside the terminals, nothing below the fold but the editor) or
// a column's (link, terminals, events, commands, in that order). Returns what is wrong.
const desktop = arguments[0];
const problems = [];
const width = document.documentElement.clientWidth;
const box = (selector) => document.querySelector(selector).getBoundingClientRect();
if (document.documentElement.scrollWidth > width) problems.push('the page scrolls sideways');
const list = document.querySelector('.scroll');
if (list.scrollWidth > list.clientWidth) problems.push('the terminal list scrolls sideways');
const needed = ['#state', '#live', '#clock', 'tr[data-number="0001"] td.number', 'tr[data-number="0001"] .value',
  'tr[data-number="0001"] .remove', 'button[data-sort="sent"]', '#events li', '#token', '#checkToken',
  '#synchronize', '#testTime', '#editorOk'];
for (const selector of needed) {
  const r = box(selector);
  if (r.width === 0 || r.left < 0 || r.right > width) problems.push(selector + ' is not within the width');
  if (desktop && selector !== '#editorOk' && r.bottom > innerHeight) problems.push(selector + ' is below the fold');
}
// A cell shows all it holds; a description may end in an ellipsis (the editor has it whole).
for (const cell of document.querySelectorAll('#terminals td:not(.description), thead th')) {
  if (!cell.offsetWidth) continue;  // not shown at this width
  cell.style.textOverflow = 'clip';  // an ellipsis would shorten what is measured
  const room = cell.getBoundingClientRect().right - parseFloat(getComputedStyle(cell).paddingRight);
  for (const part of cell.childNodes) {
    const held = document.createRange();
    held.selectNode(part);
    const right = (part.nodeType === Node.ELEMENT_NODE ? part : held).getBoundingClientRect().right;
    if (!part.classList?.contains('sr') && right > room + 0.01) {
      problems.push(cell.className + ' is cut: ' + cell.textContent);
    }
  }
  cell.style.textOverflow = '';
}
const [terminals, events, commands] = ['#terminalsPart', '#eventsPart', '#commandsPart'].map(box);
if (desktop && !(events.left >= terminals.right && events.top < terminals.bottom)) problems.push('the events are not beside the terminals');
if (!desktop && !(box('#state').bottom <= terminals.top && terminals.bottom <= events.top && events.bottom <= commands.top)) {
  problems.push('not link, terminals, events, commands from the top');
}
return problems;
