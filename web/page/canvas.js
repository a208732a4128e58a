// The canvas the program's frames go to, at a whole-number zoom that fits
// the page, and the page's points as the program's client coordinates.
export const WIDTH = 640;
export const HEIGHT = 480;

export const canvas = document.getElementById('screen');

const zoomWatchers = [];

// Called with no argument whenever the zoom may have changed.
export function onZoom(watcher) {
  zoomWatchers.push(watcher);
}

export function currentZoom() {
  return Number(canvas.dataset.zoom || 1);
}

export function fitCanvas() {
  const stage = document.getElementById('stage');
  const room = stage.getBoundingClientRect();
  const zoom = Math.max(1, Math.floor(Math.min((room.width - 8) / canvas.width,
                                               (room.height - 30) / canvas.height)));
  canvas.dataset.zoom = String(zoom);
  canvas.style.width = canvas.width * zoom + 'px';
  canvas.style.height = canvas.height * zoom + 'px';
  for (const watcher of zoomWatchers) watcher();
}

// The client point under a mouse event or touch, inside the picture.
export function clientPoint(event) {
  const box = canvas.getBoundingClientRect();
  const zoom = box.width / canvas.width;
  return {
    x: Math.min(canvas.width - 1, Math.max(0, Math.floor((event.clientX - box.left) / zoom))),
    y: Math.min(canvas.height - 1, Math.max(0, Math.floor((event.clientY - box.top) / zoom))),
  };
}

// Shows a frame of the program's 0x00RRGGBB words (B, G, R, 0 in memory)
// through `image`, an ImageData of the frame's size; returns the ImageData
// used (a new one when the size changed).
export function drawFrame(context, image, pixels, width, height) {
  if (width !== image.width || height !== image.height) {
    canvas.width = width;
    canvas.height = height;
    image = context.createImageData(width, height);
    fitCanvas();
  }
  const out = image.data;
  for (let i = 0; i < out.length; i += 4) {
    out[i] = pixels[i + 2];
    out[i + 1] = pixels[i + 1];
    out[i + 2] = pixels[i];
    out[i + 3] = 255;
  }
  context.putImageData(image, 0, 0);
  return image;
}
