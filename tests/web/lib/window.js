// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// glukara's window as the page's tests see it: its size and frame, its
// colours, where its controls are, and what its screenshots show (the client
// area, the bar and the level it stands at).
'use strict';
const { PNG } = require('pngjs');

// The window, 750 x 538, in the frame Qt draws: 4 CSS pixels of border on
// the sides and the bottom, and a title bar that makes 26 at the top. The
// frame keeps its size in CSS pixels when the window is scaled.
const client_size = { width: 750, height: 538 };
const frame = { left: 4, top: 26, right: 4, bottom: 4 };
const frame_size = { width: client_size.width + frame.left + frame.right,
                     height: client_size.height + frame.top + frame.bottom };
const window_background = [239, 239, 239];
const bar_colour = [178, 34, 34];
const page_background = [74, 88, 102];
// The chart's ground, on which its axis stands.
const chart_ground = [255, 255, 255];
// The chart's scale, in mg / 100 ml.
const scale_floor = 30, scale_top = 180;

// The controls and texts, [x, y, width, height] in the window's own pixels
// (twips of the window's design / 15), by the id of the page's element that
// stands over each.
const controls = {
  'glukara-cmd_button_0': [24, 472, 65, 49], // Start
  'glukara-cmd_button_4': [128, 472, 65, 49], // Reset
  'glukara-cmd_button_3': [224, 472, 65, 49], // Quit
  'glukara-cmd_button_1': [600, 8, 137, 113], // Eat a meal
  'glukara-cmd_button_2': [600, 144, 137, 113], // Go for a run
  'glukara-cmd_button_5': [600, 280, 137, 113], // Secrete Insulin
  'glukara-cmd_button_6': [600, 416, 137, 113], // Secrete Glucagon
  'glukara-variable_combo': [336, 416, 225, 24],
  'glukara-value_inputbox': [336, 480, 65, 25],
  'glukara-diabetic_check': [480, 480, 81, 25],
  'glukara-glucose_chart': [16, 8, 281, 441],
  'glukara-info_text_0': [336, 24, 225, 217],
  'glukara-glycogen_level': [336, 312, 225, 33],
};

// A point `dx`, `dy` into a control's rectangle.
const into = (id, dx, dy) => [controls[id][0] + dx, controls[id][1] + dy];

// Where a pupil clicks, in the window's own pixels.
const at = {
  start: into('glukara-cmd_button_0', 32, 24),
  reset: into('glukara-cmd_button_4', 32, 24),
  quit: into('glukara-cmd_button_3', 32, 24),
  meal: into('glukara-cmd_button_1', 68, 56),
  insulin: into('glukara-cmd_button_5', 68, 56),
  // The list's text, left of its arrow.
  combo_text: into('glukara-variable_combo', 80, 12),
  value_box: into('glukara-value_inputbox', 32, 12),
  // The top edges of Start and Eat a meal.
  start_top: into('glukara-cmd_button_0', 20, 4),
  meal_top: into('glukara-cmd_button_1', 20, 5),
  // A spot of bare window, where the pointer rests between clicks.
  rest: [300, 525],
};

// Parts of the window compared between screenshots, [x, y, width, height].
const regions = {
  chart: controls['glukara-glucose_chart'],
  info: [320, 0, 257, 273],
  glycogen: [320, 288, 257, 73],
  settings: [320, 368, 257, 161],
  // Inside Start's edge, where the window draws its focus.
  start: [27, 475, 59, 43],
  meal_caption: [600, 80, 137, 41],
};

const same = (a, b, tolerance = 0) => a.every((v, i) => Math.abs(v - b[i]) <= tolerance);

// { width, height, pixel(x, y) -> [r, g, b] } of a PNG screenshot.
function decode(bytes) {
  const png = PNG.sync.read(Buffer.from(bytes));
  return {
    width: png.width,
    height: png.height,
    pixel(x, y) {
      const i = (png.width * y + x) * 4;
      return [png.data[i], png.data[i + 1], png.data[i + 2]];
    },
  };
}

// The canvas's rectangle in the viewport, in CSS pixels, while it is shown;
// run in the page.
function canvas_rect() {
  const canvas = document.getElementById('screen');
  if (!canvas || canvas.hidden)
    return null;
  const r = canvas.getBoundingClientRect();
  return { x: r.x, y: r.y, width: r.width, height: r.height };
}

// The window's client area in the screenshot's pixels: the bare window
// background just inside the frame, found along the middle row and column of
// the canvas. `canvas` is in CSS pixels, with `ratio` device pixels to each
// (1 unless given).
function client_area(image, canvas) {
  const r = canvas.ratio || 1;
  const x0 = Math.round(canvas.x * r), y0 = Math.round(canvas.y * r);
  const x1 = Math.round((canvas.x + canvas.width) * r) - 1;
  const y1 = Math.round((canvas.y + canvas.height) * r) - 1;
  const y = Math.round((y0 + y1) / 2), x = Math.round((x0 + x1) / 2);
  const first = (from, to, step, pixel) => {
    for (let i = from; i !== to; i += step)
      if (same(pixel(i), window_background))
        return i;
    return NaN;
  };
  const left = first(x0, x1, 1, (i) => image.pixel(i, y));
  const right = first(x1, x0, -1, (i) => image.pixel(i, y));
  const top = first(y0, y1, 1, (i) => image.pixel(x, i));
  const bottom = first(y1, y0, -1, (i) => image.pixel(x, i));
  return { x: left, y: top, width: right - left + 1, height: bottom - top + 1 };
}

// Where the window stands in a screenshot: its client area's top-left corner
// and the screenshot's pixels to a pixel of the window.
const place_of = (client, pixel_scale = 1) => ({ client: { x: client.x, y: client.y }, pixel_scale });

// The bar in the chart's middle column, in the screenshot's pixels: its top
// and bottom rows and its height, and the level it stands at, read on the
// chart's axis: the axis runs from the scale's top, 180, down to the floor,
// 30, on which the bar stands, and a level is the height of the bar on it.
function bar(image, place) {
  const s = place.pixel_scale;
  const [cx, cy, cw, ch] = regions.chart;
  const x = Math.round(place.client.x + (cx + cw / 2 + 16) * s);
  let top = NaN, bottom = NaN;
  for (let y = Math.round(place.client.y + cy * s); y < place.client.y + (cy + ch) * s; ++y)
    if (same(image.pixel(x, y), bar_colour, 8)) {
      if (Number.isNaN(top))
        top = y;
      bottom = y;
    }
  const found = { top, bottom, height: bottom - top + 1, level: NaN };
  if (Number.isNaN(top))
    return found;
  // The axis: left of the bar, across the chart's ground, on a row just
  // above the floor, where no line of the scale runs.
  const row = bottom - Math.round(3 * s);
  let axis = x;
  while (axis > 0 && same(image.pixel(axis, row), bar_colour, 8))
    --axis;
  while (axis > 0 && same(image.pixel(axis, row), chart_ground, 8))
    --axis;
  // Its top end is the scale's top; the floor's line runs under the bar.
  let axis_top = row;
  while (axis_top > 0 && !same(image.pixel(axis, axis_top - 1), chart_ground, 8))
    --axis_top;
  const floor = bottom + 1;
  found.axis = { x: axis, top: axis_top, floor };
  found.level = scale_floor + (scale_top - scale_floor) * (floor - top) / (floor - axis_top);
  return found;
}

function region_pixels(image, origin, [rx, ry, rw, rh]) {
  const values = [];
  for (let y = origin.y + ry; y < origin.y + ry + rh; ++y)
    for (let x = origin.x + rx; x < origin.x + rx + rw; ++x)
      values.push(image.pixel(x, y).join(','));
  return values;
}

// How many pixels of a region of the window differ between two screenshots.
function differing(a, b, origin, region) {
  const pa = region_pixels(a, origin, region), pb = region_pixels(b, origin, region);
  return pa.filter((v, i) => v !== pb[i]).length;
}

// A level on the chart from a bar's height, given the bar of a known level:
// the bar stands on the scale's floor, 30. Finer than the axis between two
// bars of the same screenshot scale.
const level_of = (height, known) => scale_floor + (height * (known.level - scale_floor)) / known.height;

// Whether a level read with `level_of` is a whole one: read from the bar's
// height, it is whole to about a pixel.
const whole_level = (v) => Math.abs(v - Math.round(v)) < 0.35;

module.exports = { client_size, frame, frame_size, window_background, bar_colour, page_background,
                   controls, at, regions, same, decode, canvas_rect, client_area, place_of, bar,
                   differing, level_of, whole_level };
