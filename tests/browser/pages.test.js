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
const { HtmlValidate } = require('html-validate');

const { Site, readProject, fetchedName } = require('./site');
const {
  launch, newContext, openPage, buttonCentres, hoverProblems, focusProblems, soundCheck, moveAway,
  becomes, expectedPictures, picturesProblem,
} = require('./browser');

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

describe('HTML5 page', () => {
  const blank = (value) => value === undefined || value.trim() === '';
  const digits = (value) => (/^[0-9]+$/.test(value ?? '') ? value : null);
  // The picture's file name without folder and extension, with '-' and '_' read as blanks.
  const altText = (name) => name.replace(/^.*\//, '').replace(/\.[^.]*$/, '').replace(/[-_]/g, ' ');

  // What the browser should read back from a page of `rows`: every value as typed.
  function expectedPage(rows, sound) {
    return {
      title: rows[0].title,
      buttons: rows.map((row) => ({
        href: row.link ?? '',
        target: row.frame || null,
        src: blank(row.normal) ? null : row.normal,
        alt: blank(row.normal) ? null : altText(row.normal),
        width: blank(row.normal) ? null : digits(row.width),
        height: blank(row.normal) ? null : digits(row.height),
      })),
      sounds: sound ? rows.map((row) => row.sound).filter((name) => !blank(name)) : [],
    };
  }

  function readBack(page) {
    return page.evaluate(() => ({
      title: document.title,
      buttons: [...document.querySelectorAll('body a')].map((link) => {
        const img = link.querySelector('img');
        const attribute = (name) => (img ? img.getAttribute(name) : null);
        return {
          href: link.getAttribute('href'),
          target: link.getAttribute('target'),
          src: attribute('src'),
          alt: attribute('alt'),
          width: attribute('width'),
          height: attribute('height'),
        };
      }),
      sounds: [...document.querySelectorAll('audio')].map((audio) => audio.getAttribute('src')),
    }));
  }

  // The pictures of the buttons of `rows`: a button without a normal picture has no picture,
  // one without a mouse-over picture does not swap.
  function buttonPictures(rows) {
    return rows.map((row) => ({
      normal: blank(row.normal) ? null : row.normal,
      over: blank(row.normal) || blank(row.over) ? null : row.over,
    }));
  }

  const validator = new HtmlValidate({
    extends: ['html-validate:recommended'],
    rules: { 'no-inline-style': 'off', 'no-trailing-whitespace': 'off' },
  });

  async function validationErrors(name) {
    const report = await validator.validateString(site.read(name, 'utf8'), name);
    return report.results.flatMap((result) => result.messages)
      .filter((m) => m.severity === 2)
      .map((m) => `${m.line}:${m.column} ${m.ruleId}: ${m.message}`);
  }

  // The first `count` rows of the odd values as a page.
  function writePage(count, sound, separator) {
    const options = ['--html5', ...(sound ? ['--sound'] : []), '--separator', separator];
    return site.page(`html5-${sound ? 'sound' : 'plain'}-${count}`, ODD_ROWS.slice(0, count), options);
  }

  const PAGES = [
    { count: 1, sound: false, separator: '<br>' },
    { count: 3, sound: true, separator: '&nbsp;  ' },
    { count: 10, sound: false, separator: '&nbsp;&nbsp;  ' },
    { count: 10, sound: true, separator: '<br><br>' },
  ];

  for (const { count, sound, separator } of PAGES) {
    test(`${count} button(s), ${sound ? 'sound' : 'plain'}: valid, values as typed, mouse and keyboard`, async () => {
      const rows = ODD_ROWS.slice(0, count);
      const name = writePage(count, sound, separator);
      assert.deepEqual(await validationErrors(name), []);

      const { page, messages } = await openPage(context, site.origin + name);
      assert.deepEqual(await readBack(page), expectedPage(rows, sound));
      const rgb = rows[0].bgColor.match(/[0-9A-F]{2}/gi).map((hex) => parseInt(hex, 16));
      assert.equal(await page.evaluate(() => getComputedStyle(document.body).backgroundColor),
        `rgb(${rgb.join(', ')})`);

      const check = soundCheck(page, rows.map((row) => (sound && !blank(row.sound) ? row.sound : null)));
      assert.deepEqual(await hoverProblems(page, buttonPictures(rows), check), []);
      assert.deepEqual(await focusProblems(page, buttonPictures(rows), check), []);
      assert.deepEqual(messages, []);
      await page.close();
      assert.deepEqual(site.missing.splice(0), []);
      assert.ok(site.served.includes(fetchedName(rows[0].bg)), 'the background picture is fetched');
    });
  }

  test('a button shows its mouse-over picture while it is hovered or focused, either one', async () => {
    const buttons = BUTTONS.slice(0, 3);
    const name = site.page('html5-focus-and-mouse', projectRows(buttons), ['--html5']);
    const { page, messages } = await openPage(context, site.origin + name);
    const centres = await buttonCentres(page);
    const hover = (i) => page.mouse.move(centres[i].x, centres[i].y);
    const steps = [
      [() => page.keyboard.press('Tab'), [0], 'focus on button 1'],
      [() => hover(0), [0], 'focus and mouse on button 1'],
      [() => moveAway(page), [0], 'focus on button 1, the mouse gone from it'],
      [() => hover(1), [0, 1], 'focus on button 1, mouse on button 2'],
      [() => page.keyboard.press('Tab'), [1], 'focus and mouse on button 2'],
      [() => page.keyboard.press('Tab'), [1, 2], 'mouse on button 2, focus on button 3'],
      [() => moveAway(page), [2], 'focus on button 3, the mouse away'],
      [() => page.keyboard.press('Tab'), [], 'focus past the buttons, the mouse away'],
    ];
    const problems = [];
    for (const [step, active, when] of steps) {
      await step();
      problems.push(await picturesProblem(page, expectedPictures(buttons, active), when));
    }
    assert.deepEqual(problems.filter(Boolean), []);
    assert.deepEqual(messages, []);
    await page.close();
  });

  test('sound, default autoplay policy: hovering before any click logs nothing', async () => {
    const name = writePage(10, true, '<br><br>');
    // Every driver call that runs script in a page counts as a user gesture there: the
    // buttons are measured on the same page opened in the other browser, which lays it out
    // alike.
    const measured = (await openPage(context, site.origin + name)).page;
    const centres = await buttonCentres(measured);
    await measured.close();

    const { page, messages } = await openPage(await newContext(strictBrowser), site.origin + name);
    for (const { x, y } of centres)
      await page.mouse.move(x, y);
    await moveAway(page);
    const sounds = ODD_ROWS.map((row) => row.sound).filter((s) => !blank(s));
    await becomes(page, (count) => window.kelmorPlays.length >= count, sounds.length);
    const state = await page.evaluate(() => ({
      plays: window.kelmorPlays,
      playing: [...document.querySelectorAll('audio')].filter((a) => !a.paused || a.currentTime > 0).length,
    }));
    assert.deepEqual(state, { plays: sounds, playing: 0 }, 'every sound was asked for and refused');
    assert.deepEqual(messages, []);
  });
});
