// Drives the system's Chromium through playwright-core: opens pages, moves the real mouse and
// the keyboard focus over their buttons, and reports what the pictures and the console did.
'use strict';

const { chromium } = require('playwright-core');

// How long a picture may take to change after the mouse or the focus reached its button.
const SWAP_TIMEOUT_MS = 5000;

// A browser context of a newly started Chromium.
async function launch(executablePath, extraArgs = []) {
  // launch() starts every browser with a new, empty profile folder of its own.
  const browser = await chromium.launch({
    executablePath,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      ...extraArgs],
    // The tests run beside a private sound server that other tests record from: keep Chromium
    // off it, on its silent built-in output.
    env: { ...process.env, PULSE_SERVER: 'unix:/nonexistent' },
  });
  return browser.newContext({ viewport: { width: 1000, height: 1400 } });
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

// The middle of every picture of the page, in viewport co-ordinates. The viewport is tall
// enough for ten buttons one below the other, so that no scrolling moves them afterwards.
async function pictureCentres(page) {
  const centres = await page.locator('img').evaluateAll((images) => images.map((img) => {
    const box = img.getBoundingClientRect();
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  }));
  const viewport = page.viewportSize();
  for (const c of centres) {
    if (c.y >= viewport.height || c.x >= viewport.width)
      throw new Error(`a picture lies outside the ${viewport.width} x ${viewport.height} viewport`);
  }
  return centres;
}

// Waits until the page's pictures show `expected` (file names as the page names them, in page
// order); returns a description of the difference when they do not in time.
async function picturesProblem(page, expected, when) {
  try {
    await page.waitForFunction(
      (names) => document.images.length === names.length &&
        [...document.images].every((img, i) => img.src === new URL(names[i], document.baseURI).href),
      expected, { timeout: SWAP_TIMEOUT_MS });
    return null;
  } catch (error) {
    if (error.name !== 'TimeoutError')
      throw error;
    const shown = await page.evaluate(() => [...document.images].map((img) => img.src));
    return `${when}: the pictures show ${shown.join(' ')} instead of ${expected.join(' ')}`;
  }
}

// Moves the mouse onto the left margin of the page, outside every button.
async function moveAway(page) {
  await page.mouse.move(1, 1);
}

// The pictures every button should show while button `active` (0-based; -1 for none) is under
// the mouse or focused.
function expectedPictures(buttons, active) {
  return buttons.map((b, i) => (i === active ? b.over : b.normal));
}

// Moves the mouse from one button straight onto the next and at last away: the button under
// the mouse shows its mouse-over picture, every other one its normal picture. Returns the
// problems seen.
async function hoverProblems(page, buttons) {
  const centres = await pictureCentres(page);
  const problems = [];
  for (let i = 0; i < buttons.length; ++i) {
    await page.mouse.move(centres[i].x, centres[i].y);
    problems.push(await picturesProblem(page, expectedPictures(buttons, i), `mouse on button ${i + 1}`));
  }
  await moveAway(page);
  problems.push(await picturesProblem(page, expectedPictures(buttons, -1), 'mouse off the buttons'));
  return problems.filter(Boolean);
}

// Tabs from the page's start through every button and past the last: the focused button
// shows its mouse-over picture, every other one its normal picture.
async function focusProblems(page, buttons) {
  const problems = [];
  for (let i = 0; i <= buttons.length; ++i) {
    await page.keyboard.press('Tab');
    const active = i < buttons.length ? i : -1;
    problems.push(await picturesProblem(page, expectedPictures(buttons, active),
      active < 0 ? 'focus past the last button' : `focus on button ${i + 1}`));
  }
  return problems.filter(Boolean);
}

module.exports = { launch, openPage, pictureCentres, hoverProblems, focusProblems, moveAway };
