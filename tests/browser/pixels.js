// Pixels of screenshots and picture files: PNG bytes decoded by Chromium itself, in a page of a
// context that runs script, and compared in node.
'use strict';

// How far apart two channels of a pixel may be and still count as the same: screenshots and
// pictures come through the same decoder, so only rounding differs.
const CHANNEL_TOLERANCE = 8;

// The RGBA pixels of the PNG `bytes`, decoded in `page`: { width, height, data }.
async function decodePng(page, bytes) {
  const { width, height, base64 } = await page.evaluate(async (png) => {
    const picture = new Image();
    picture.src = `data:image/png;base64,${png}`;
    await picture.decode();
    const canvas = new OffscreenCanvas(picture.naturalWidth, picture.naturalHeight);
    const context = canvas.getContext('2d');
    context.drawImage(picture, 0, 0);
    const pixels = context.getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < pixels.length; i += 0x8000)
      text += String.fromCharCode(...pixels.subarray(i, i + 0x8000));
    return { width: canvas.width, height: canvas.height, base64: btoa(text) };
  }, bytes.toString('base64'));
  return { width, height, data: new Uint8Array(Buffer.from(base64, 'base64')) };
}

// [r, g, b] of "#RRGGBB".
function rgbOf(hex) {
  return hex.match(/[0-9a-f]{2}/gi).map((digits) => parseInt(digits, 16));
}

// The picture as it shows over a page of colour `rgb`, fully opaque.
function over(picture, rgb) {
  const data = Uint8Array.from(picture.data);
  for (let i = 0; i < data.length; i += 4) {
    const alpha = data[i + 3] / 255;
    for (let c = 0; c < 3; ++c)
      data[i + c] = Math.round(data[i + c] * alpha + rgb[c] * (1 - alpha));
    data[i + 3] = 255;
  }
  return { ...picture, data };
}

function pixelDiffers(a, b, i) {
  return [0, 1, 2, 3].some((c) => Math.abs(a.data[i + c] - b.data[i + c]) > CHANNEL_TOLERANCE);
}

// The share of the pixels that differ between two pictures, 1 when their sizes do.
function differingShare(a, b) {
  if (a.width !== b.width || a.height !== b.height)
    return 1;
  let differing = 0;
  for (let i = 0; i < a.data.length; i += 4)
    differing += pixelDiffers(a, b, i) ? 1 : 0;
  return differing / (a.width * a.height);
}

// The pixels (x, y, [r, g, b]) that differ between two pictures of one size.
function changedPixels(a, b) {
  const changed = [];
  for (let i = 0; i < a.data.length; i += 4) {
    if (pixelDiffers(a, b, i)) {
      const pixel = i / 4;
      const rgb = [...b.data.subarray(i, i + 3)];
      changed.push({ x: pixel % a.width, y: Math.floor(pixel / a.width), rgb });
    }
  }
  return changed;
}

// The contrast ratio of two sRGB colours, from 1 to 21.
function contrast(a, b) {
  const luminance = (rgb) => rgb.map((v) => v / 255)
    .map((v) => (v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
    .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
  const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (light + 0.05) / (dark + 0.05);
}

module.exports = { decodePng, rgbOf, over, differingShare, changedPixels, contrast };
