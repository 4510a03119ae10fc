// The run's picture in the page: #surface holds the graphics surface pixel for pixel. At each
// repaint the program converts what changed through the palette and names the rectangles, and
// only those are put onto the canvas. CSS scales it to fit where the program's placement rule
// (the desktop window's) puts it: crisp at a whole multiple, smoothed when shrunk. When the
// program closes the surface for the summary, the last picture stays on the canvas, dimmed,
// beside the console until another program starts.
import { putBoxes } from './canvas_boxes.js';

export function create(canvas) {
  // The surface opened at width x height: the canvas is new and blank, as the program's picture.
  function open(width, height) {
    canvas.width = width;
    canvas.height = height;
    canvas.getContext('2d').clearRect(0, 0, width, height);
  }

  // Puts onto the canvas the rectangles of the surface that changed since the last repaint (all
  // of it after an opening), from `program`'s RGBA copy of the surface.
  function paint(program) {
    const { width, height } = program.pictureSize();
    if (width !== canvas.width || height !== canvas.height) return;
    const update = program.updatePicture();
    if (update !== null) putBoxes(canvas, update);
  }

  // Places the picture of `width` x `height` in `area` (CSS pixels, the stage's coordinates) by
  // `program`'s rule: the run's picture fills the screen, the kept one its slot in the dock.
  function fit(program, width, height, area) {
    const place = program.place(width, height, area.width, area.height);
    canvas.style.width = place.width + 'px';
    canvas.style.height = place.height + 'px';
    canvas.style.left = area.left + place.x + 'px';
    canvas.style.top = area.top + place.y + 'px';
    canvas.classList.toggle('crisp', place.crisp);
  }

  return {
    open,
    paint,
    fit,
    // What the canvas holds, RGBA.
    pixels: () => canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data,
    box: () => {
      const box = canvas.getBoundingClientRect();
      return { width: box.width, height: box.height, intrinsicWidth: canvas.width,
               intrinsicHeight: canvas.height, hidden: canvas.hidden };
    },
  };
}
