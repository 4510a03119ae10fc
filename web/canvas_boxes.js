// A picture's update onto its canvas: the program names the rectangles that changed since the
// last update (program.js), and only those are copied from its RGBA frame.
export function putBoxes(canvas, update) {
  const context = canvas.getContext('2d'), boxes = update.boxes;
  for (let i = 0; i < boxes.length; i += 4) {
    context.putImageData(update.image, 0, 0, boxes[i], boxes[i + 1], boxes[i + 2], boxes[i + 3]);
  }
}
