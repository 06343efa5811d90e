// Drives the system's Chromium through playwright-core: opens pages, moves the real mouse and
// the keyboard focus over their buttons, and reports what the pictures and the console did.
'use strict';

const { chromium } = require('playwright-core');

// How long the page may take to react to the mouse or the keyboard.
const REACTION_TIMEOUT_MS = 5000;

// Whether `predicate(arg)` (a function or an expression) becomes true in the page in time.
async function becomes(page, predicate, arg) {
  try {
    await page.waitForFunction(predicate, arg, { timeout: REACTION_TIMEOUT_MS });
    return true;
  } catch (error) {
    if (error.name !== 'TimeoutError')
      throw error;
    return false;
  }
}

// Starts Chromium with a new, empty profile folder of its own.
function launch(executablePath, extraArgs = []) {
  return chromium.launch({
    executablePath,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      ...extraArgs],
    // The tests run beside a private sound server that other tests record from: keep Chromium
    // off it, on its silent built-in output.
    env: { ...process.env, PULSE_SERVER: 'unix:/nonexistent' },
  });
}

// A new context of `browser`, its pages as tall as ten buttons one below the other.
async function newContext(browser) {
  const context = await browser.newContext({ viewport: { width: 1000, height: 1400 } });
  // Lists the address of every sound a page asks to play, played or refused, in `kelmorPlays`.
  await context.addInitScript(() => {
    const play = HTMLMediaElement.prototype.play;
    window.kelmorPlays = [];
    HTMLMediaElement.prototype.play = function () {
      window.kelmorPlays.push(this.getAttribute('src'));
      return play.call(this);
    };
  });
  return context;
}

// Opens `url` in a new page of `context`; `messages` collects every console message and script
// error from the moment the page starts loading.
async function openPage(context, url) {
  const page = await context.newPage();
  const messages = [];
  page.on('pageerror', (error) => messages.push(`script error: ${error.message}`));
  page.on('console', (message) => messages.push(`console ${message.type()}: ${message.text()}`));
  await page.goto(url, { waitUntil: 'load' });
  return { page, messages };
}

// Where the mouse goes for every button: the middle of its picture, or of its link when it has
// none, in viewport co-ordinates. The viewport is tall enough for ten buttons one below the
// other, so that no scrolling moves them afterwards.
async function buttonCentres(page) {
  const centres = await page.locator('body a').evaluateAll((links) => links.map((link) => {
    const box = (link.querySelector('img') || link).getBoundingClientRect();
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  }));
  const viewport = page.viewportSize();
  for (const c of centres) {
    if (c.y >= viewport.height || c.x >= viewport.width)
      throw new Error(`a button lies outside the ${viewport.width} x ${viewport.height} viewport`);
  }
  return centres;
}

// Waits until every button shows `expected` (one picture name per link as the page names it,
// null for a link without a picture); returns a description of the difference when it does
// not in time.
async function picturesProblem(page, expected, when) {
  const shown = (names) => [...document.querySelectorAll('body a')].map((link, i) => {
    const img = link.querySelector('img');
    const wanted = names[i] == null ? null : new URL(names[i], document.baseURI).href;
    return { shown: img ? img.src : null, wanted };
  });
  const test = `((state) => state.length === ${expected.length} && ` +
    `state.every((s) => s.shown === s.wanted))((${shown})(${JSON.stringify(expected)}))`;
  if (await becomes(page, test))
    return null;
  const state = await page.evaluate(shown, expected);
  const wrong = state.map((s, i) => (s.shown === s.wanted ? '' : `button ${i + 1} shows ${s.shown}, not ${s.wanted}`))
    .filter(Boolean);
  if (state.length !== expected.length)
    wrong.unshift(`${state.length} buttons, not ${expected.length}`);
  return `${when}: ${wrong.join('; ')}`;
}

// Moves the mouse onto the left margin of the page, outside every button.
async function moveAway(page) {
  await page.mouse.move(1, 1);
}

// The pictures the buttons should show while button `active` (0-based; -1 for none), or each
// button of a list of them, is under the mouse or focused. A button's `over` is null when it
// does not swap, its `normal` null when it has no picture.
function expectedPictures(buttons, active) {
  const on = [].concat(active);
  return buttons.map((b, i) => (on.includes(i) && b.over !== null ? b.over : b.normal));
}

// Moves the mouse from one button straight onto the next and at last away: the button under
// the mouse shows its mouse-over picture, every other one its normal picture. `onButton(i)`
// runs with the mouse on button i. Returns the problems seen.
async function hoverProblems(page, buttons, onButton = async () => {}) {
  const centres = await buttonCentres(page);
  const problems = [];
  for (let i = 0; i < buttons.length; ++i) {
    await page.mouse.move(centres[i].x, centres[i].y);
    problems.push(await picturesProblem(page, expectedPictures(buttons, i), `mouse on button ${i + 1}`));
    problems.push(await onButton(i));
  }
  await moveAway(page);
  problems.push(await picturesProblem(page, expectedPictures(buttons, -1), 'mouse off the buttons'));
  return problems.filter(Boolean);
}

// Tabs from the page's start through every button and past the last: the focused button
// shows its mouse-over picture, every other one its normal picture. `onButton(i)` runs with the
// focus on button i.
async function focusProblems(page, buttons, onButton = async () => {}) {
  const problems = [];
  for (let i = 0; i <= buttons.length; ++i) {
    await page.keyboard.press('Tab');
    const active = i < buttons.length ? i : -1;
    problems.push(await picturesProblem(page, expectedPictures(buttons, active),
      active < 0 ? 'focus past the last button' : `focus on button ${i + 1}`));
    if (active >= 0)
      problems.push(await onButton(i));
  }
  return problems.filter(Boolean);
}

// Returns a check for `onButton`: with the mouse or the focus on button i, exactly the sound
// `sounds[i]` (null for none) was asked to play, and its audio element is playing: it left the
// paused state and its time advanced.
function soundCheck(page, sounds) {
  return async (i) => {
    const sound = sounds[i];
    const playing = (src) => {
      const audio = [...document.querySelectorAll('audio')].find((a) => a.getAttribute('src') === src);
      return audio && !audio.paused && audio.currentTime > 0;
    };
    if (sound !== null && !(await becomes(page, playing, sound)))
      return `button ${i + 1}: its sound ${sound} does not play`;
    // Stops every sound, so that the next button's must start anew.
    const plays = JSON.stringify(await page.evaluate(() => {
      for (const audio of document.querySelectorAll('audio'))
        audio.pause();
      return window.kelmorPlays.splice(0);
    }));
    const expected = JSON.stringify(sound === null ? [] : [sound]);
    return plays === expected ? null : `button ${i + 1} asked to play ${plays}, not ${expected}`;
  };
}

module.exports = {
  launch, newContext, openPage, buttonCentres, hoverProblems, focusProblems, soundCheck, moveAway, becomes,
  expectedPictures, picturesProblem,
};
