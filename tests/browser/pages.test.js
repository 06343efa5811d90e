// Pages written by the built kelmor-cli, served on 127.0.0.1 and used in the system's Chromium
// with the real mouse and keyboard. Run by ctest with KELMOR_CLI and KELMOR_CHROMIUM set.
'use strict';

const fs = require('node:fs');

const chromiumPath = process.env.KELMOR_CHROMIUM;
if (!fs.existsSync(chromiumPath)) {
  console.error(`Chromium is not installed at ${chromiumPath} (tools/install-deps.sh installs it).`);
  // Skipped on a developer's machine without it; a failure under continuous integration.
  process.exit(process.env.CI ? 1 : 77);
}

const assert = require('node:assert/strict');
const path = require('node:path');
const { after, before, describe, test } = require('node:test');

const { Site, readProject } = require('./site');
const { launch, newContext, openPage, hoverProblems } = require('./browser');

const SEPARATORS = ['', '<br>', '<br><br>', '<br><br><br>', '<br><br><br><br>', '&nbsp;  ',
  '&nbsp;&nbsp;  ', '&nbsp;&nbsp;&nbsp;  ', '&nbsp;&nbsp;&nbsp;&nbsp;  '];

// Button k of every legacy test page: its pictures, link, frame and sound.
const BUTTONS = Array.from({ length: 10 }, (_, i) => ({
  normal: `n${i + 1}.svg`,
  over: `o${i + 1}.svg`,
  link: `p${i + 1}.html`,
  frame: i % 2 ? 'main' : '',
  sound: `s${i + 1}.wav`,
}));

const PAGE_FIELDS = { title: 'Menu', bgColor: '#FFFFE0', bg: '' };

function projectRows(buttons) {
  return buttons.map((b, i) => (i === 0 ? { ...b, ...PAGE_FIELDS } : b));
}

// Cells of every kind of odd value, from the project shared with the page writer's own tests.
const ODD_ROWS = readProject(path.join(__dirname, '../data/projects/odd-values.kxq'));

let site;
// Chromium allowed to play sound without a click, and its context every page opens in.
let browser;
let context;
// A second Chromium, under the default autoplay policy.
let strictBrowser;

before(async () => {
  site = new Site(process.env.KELMOR_CLI);
  site.addMedia(BUTTONS);
  site.addMedia(ODD_ROWS);
  await site.serve();
  [browser, strictBrowser] = await Promise.all([
    launch(chromiumPath, ['--autoplay-policy=no-user-gesture-required']),
    launch(chromiumPath),
  ]);
  context = await newContext(browser);
});

after(async () => {
  await browser?.close();
  await strictBrowser?.close();
  await site?.close();
});

// Opens the page, hovers over every button and returns what the browser reported.
async function hoverReport(name, buttons) {
  const { page, messages } = await openPage(context, site.origin + name);
  const problems = await hoverProblems(page, buttons);
  await page.close();
  return { problems, messages, missing: site.missing.splice(0) };
}

describe('plain page', () => {
  // Every separator once, the counts 1, 3 and 10 in turn, so that each count meets both the
  // line-break and the space separators.
  SEPARATORS.forEach((separator, i) => {
    const count = [1, 3, 10][i % 3];
    test(`${count} button(s), separator "${separator}"`, async () => {
      const buttons = BUTTONS.slice(0, count);
      const name = site.page(`plain-${i}`, projectRows(buttons), ['--separator', separator]);
      assert.deepEqual(await hoverReport(name, buttons), { problems: [], messages: [], missing: [] });
    });
  });

  test('a renamed picture variable fails the check', async () => {
    const buttons = BUTTONS.slice(0, 3);
    const text = site.read(site.page('plain-renamed', projectRows(buttons)));
    site.write('broken.html', text.replace(/\bimage4\b(?= = new Image;|\.src =")/g, 'image4x'));
    const report = await hoverReport('broken.html', buttons);
    assert.equal(report.problems.length, 1, report.problems.join('\n'));
    assert.match(report.problems[0], /^mouse on button 2: button 2 shows \S+\/n2\.svg, not \S+\/o2\.svg$/);
    assert.deepEqual(report.messages, ['script error: image4 is not defined']);
  });
});

describe('sound page', () => {
  test('pictures swap; the hidden sound objects have no play()', async () => {
    const buttons = BUTTONS.slice(0, 3);
    const name = site.page('sound-3', projectRows(buttons), ['--sound', '--separator', '<br>']);
    assert.deepEqual(await hoverReport(name, buttons), {
      problems: [],
      messages: Array(buttons.length).fill('script error: thissound.play is not a function'),
      missing: [],
    });
  });
});
