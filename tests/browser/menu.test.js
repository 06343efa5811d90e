// The site menu kelmor-cli menu puts into the pages of a small site, used in the system's
// Chromium: valid and accessible markup, the keyboard's order and focus ring, and on the screen
// the very pixels of the button pictures under the mouse, on the current page and at two device
// pixels a CSS pixel, with script off. Run by ctest with KELMOR_CLI and KELMOR_CHROMIUM set.
'use strict';

const fs = require('node:fs');

const chromiumPath = process.env.KELMOR_CHROMIUM;
if (!fs.existsSync(chromiumPath)) {
  console.error(`Chromium is not installed at ${chromiumPath} (tools/install-deps.sh installs it).`);
  process.exit(process.env.CI ? 1 : 77);
}

const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const path = require('node:path');
const { after, before, describe, test } = require('node:test');
const { HtmlValidate } = require('html-validate');

const { Site, projectText } = require('./site');
const { launch } = require('./browser');
const { decodePng, rgbOf, over, differingShare, changedPixels, contrast } = require('./pixels');

const BG_COLOR = '#FFFFE0';
const BUTTONS = [
  { text: 'Home', page: 'index.html' },
  { text: 'About', page: 'about/index.html' },
  { text: 'Contact', page: 'contact.html' },
];
// The page every check looks at, in a subfolder, its own button the second.
const PAGE = 'about/index.html';
const CURRENT = 1;
// The menu's links as that page names them.
const HREFS = ['../index.html', 'index.html', '../contact.html'];
// At most this share of a button's pixels may differ from its picture's.
const SAME = 0.01;

function pageText(title) {
  return '<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n' +
    `<title>${title}</title>\n<style>body{background:${BG_COLOR}}</style>\n</head>\n<body>\n` +
    `<!-- kelmor-menu menu -->\n<!-- /kelmor-menu -->\n<main><h1>${title}</h1></main>\n</body>\n</html>\n`;
}

// Button pictures by kelmor-cli button, a project naming them, the pages, and the menu put into
// them with the variant's sprite mode, style sheet and separator. Returns the site and each
// button's picture name without ".png".
function makeSite({ sprite, css, separator }) {
  const site = new Site(process.env.KELMOR_CLI);
  fs.mkdirSync(path.join(site.folder, 'img'));
  const made = execFileSync(site.cli, ['button', '-d', path.join(site.folder, 'img'),
    '--fill', '#2050B0', '--over-fill', '#B02020', '--current-fill', '#207030',
    ...BUTTONS.map((b) => b.text)], { encoding: 'utf8' });
  const rows = made.trim().split('\n').map((line, i) => {
    const [normal, size, overPicture] = line.split(' ');
    const [width, height] = size.split('x');
    return { normal: `img/${normal}`, over: `img/${overPicture}`, width, height, link: BUTTONS[i].page };
  });
  Object.assign(rows[0], { title: 'Site', bgColor: BG_COLOR });
  site.write('menu.kxq', projectText(rows));
  for (const button of BUTTONS)
    site.write(button.page, pageText(button.text));
  const styleSheet = css ? ['--css', path.join(site.folder, 'menu.css')] : [];
  execFileSync(site.cli, ['menu', '--sprite', sprite, ...styleSheet, '--separator', separator,
    '--update', site.folder, path.join(site.folder, 'menu.kxq')], { stdio: 'ignore' });
  return { site, pictures: rows.map((row) => row.normal.replace(/\.png$/, '')) };
}

const VARIANTS = [
  { name: 'in a row, one sprite, a linked style sheet', sprite: 'menu', css: true, separator: '&nbsp;' },
  { name: 'stacked, no sprites, the style in the menu', sprite: 'none', css: false, separator: '<br>' },
];

let browser;
let decoder;
before(async () => {
  browser = await launch(chromiumPath, ['--force-color-profile=srgb', '--hide-scrollbars']);
  decoder = await (await browser.newContext()).newPage();
});
after(async () => browser?.close());

// A page of the site in a new context of `options` (viewport, scale, script), the mouse away.
async function open(site, options = {}) {
  const context = await browser.newContext({ viewport: { width: 600, height: 400 }, ...options });
  const page = await context.newPage();
  await page.goto(site.origin + PAGE, { waitUntil: 'load' });
  return page;
}

async function linkBoxes(page) {
  return Promise.all(HREFS.map((_, i) => page.locator('nav a').nth(i).boundingBox()));
}

// The pixels of the page in `box`, and `margin` CSS pixels around it.
async function shot(page, box, margin = 0) {
  const clip = {
    x: box.x - margin, y: box.y - margin, width: box.width + 2 * margin, height: box.height + 2 * margin,
  };
  return decodePng(decoder, await page.screenshot({ clip }));
}

// How far around a button its focus ring is looked for.
const RING_MARGIN = 8;

// What is wrong with the focus ring of the button in `box`, seen in shots of it and its margin
// without and with the focus: null when on each of its four sides the focus changed at least two
// pixels per pixel of its length to a colour of 3:1 or more against BG Color.
function ringProblem(unfocused, focused, box) {
  const sides = { left: 0, right: 0, top: 0, bottom: 0 };
  for (const { x, y, rgb } of changedPixels(unfocused, focused)) {
    if (contrast(rgb, rgbOf(BG_COLOR)) < 3)
      continue;
    sides.left += x < RING_MARGIN ? 1 : 0;
    sides.right += x >= RING_MARGIN + box.width ? 1 : 0;
    sides.top += y < RING_MARGIN ? 1 : 0;
    sides.bottom += y >= RING_MARGIN + box.height ? 1 : 0;
  }
  const thin = Object.entries(sides)
    .filter(([side, count]) => count < 2 * (side === 'left' || side === 'right' ? box.height : box.width));
  return thin.length === 0 ? null
    : thin.map(([side, count]) => `${count} ring pixels on its ${side}`).join(', ');
}

// The picture file `name` (under the site) as it shows over the page's colour.
async function picture(site, name) {
  return over(await decodePng(decoder, fs.readFileSync(path.join(site.folder, name))), rgbOf(BG_COLOR));
}

// Waits until the button in `box` shows `expected`; the share of its pixels that still differ.
async function showsShare(page, box, expected) {
  let share = 1;
  for (let attempt = 0; attempt < 20 && share > SAME; ++attempt) {
    if (attempt > 0)
      await page.waitForTimeout(100);
    share = differingShare(await shot(page, box), expected);
  }
  return share;
}

// The picture name's suffix of the state button i shows with the mouse or the focus on button
// `active` (none when past the last).
function stateOf(i, active) {
  return i === CURRENT ? '-current' : i === active ? '-over' : '';
}

// Hovers over each button in turn, then away; every button must show its state's picture
// (of `suffix`, "" or "@2x"). Returns the problems.
async function pictureProblems(page, site, pictures, suffix) {
  const boxes = await linkBoxes(page);
  const problems = [];
  for (let hovered = 0; hovered <= boxes.length; ++hovered) {
    const away = hovered === boxes.length;
    const mouse = away ? { x: 0, y: 300, width: 2, height: 2 } : boxes[hovered];
    const where = away ? 'mouse away' : `mouse on button ${hovered + 1}`;
    await page.mouse.move(mouse.x + mouse.width / 2, mouse.y + mouse.height / 2);
    for (const [i, box] of boxes.entries()) {
      const name = `${pictures[i]}${stateOf(i, hovered)}${suffix}.png`;
      const share = await showsShare(page, box, await picture(site, name));
      if (share > SAME)
        problems.push(`${where}: button ${i + 1} differs from ${name} in ${share}`);
    }
  }
  return problems;
}

for (const variant of VARIANTS) {
  describe(variant.name, () => {
    let site;
    let pictures;
    before(async () => {
      ({ site, pictures } = makeSite(variant));
      await site.serve();
    });
    after(async () => site?.close());

    test('no script: no <script> element, no event handler attribute, in any page', () => {
      for (const button of BUTTONS) {
        const text = site.read(button.page, 'utf8');
        assert.match(text, /<nav class="kelmor-menu" aria-label="Site">/);
        assert.doesNotMatch(text, /<script\b|\son[a-z]+\s*=/i, button.page);
      }
    });

    test('no accessibility violations (axe-core)', async () => {
      const page = await open(site);
      await page.addScriptTag({ path: require.resolve('axe-core') });
      const { violations } = await page.evaluate(() => window.axe.run());
      assert.deepEqual(violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.html).join(' ')}`), []);
      await page.context().close();
    });

    test('Tab reaches every link in order, shows its state and a ring standing out from BG Color', async () => {
      const page = await open(site);
      const boxes = await linkBoxes(page);
      const unfocused = await Promise.all(boxes.map((box) => shot(page, box, RING_MARGIN)));
      for (const [i, box] of boxes.entries()) {
        await page.keyboard.press('Tab');
        assert.equal(await page.evaluate(() => document.activeElement.getAttribute('href')), HREFS[i]);
        const problem = ringProblem(unfocused[i], await shot(page, box, RING_MARGIN), box);
        assert.equal(problem, null, `link ${i + 1}: ${problem}`);
        const name = `${pictures[i]}${stateOf(i, i)}.png`;
        assert.ok(await showsShare(page, box, await picture(site, name)) <= SAME, `link ${i + 1}: not ${name}`);
      }
      await page.context().close();
    });

    test('hover, current and normal pictures, pixel for pixel, with script off', async () => {
      const page = await open(site, { javaScriptEnabled: false });
      // Only the pictures differ between the states: each state's picture is its own.
      const normal = await picture(site, `${pictures[0]}.png`);
      assert.ok(differingShare(normal, await picture(site, `${pictures[0]}-over.png`)) > 0.3);
      assert.ok(differingShare(normal, await picture(site, `${pictures[0]}-current.png`)) > 0.3);
      assert.deepEqual(await pictureProblems(page, site, pictures, ''), []);
      await page.context().close();
    });

    const fetched = variant.sprite === 'menu' ? 'nothing' : 'the mouse-over picture';
    test(`the first hover fetches ${fetched}`, async () => {
      const page = await open(site, { javaScriptEnabled: false });
      const [box] = await linkBoxes(page);
      const requests = [];
      page.on('request', (request) => requests.push(new URL(request.url()).pathname));
      await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
      assert.ok(await showsShare(page, box, await picture(site, `${pictures[0]}-over.png`)) <= SAME);
      assert.deepEqual(requests, variant.sprite === 'menu' ? [] : [`/${pictures[0]}-over.png`]);
      await page.context().close();
    });

    test('two device pixels a CSS pixel: the @2x pictures', async () => {
      const page = await open(site, { javaScriptEnabled: false, deviceScaleFactor: 2 });
      assert.deepEqual(await pictureProblems(page, site, pictures, '@2x'), []);
      await page.context().close();
    });

    // A <style> element may not stand in <body>: only the menu that links its rules validates.
    if (variant.css) {
      test('html-validate finds nothing in an updated page', async () => {
        const validator = new HtmlValidate({ extends: ['html-validate:recommended'] });
        const report = await validator.validateString(site.read(PAGE, 'utf8'), PAGE);
        const messages = report.results.flatMap((result) => result.messages);
        assert.deepEqual(messages.map((m) => `${m.line}:${m.column} ${m.ruleId}: ${m.message}`), []);
      });
    }
  });
}
