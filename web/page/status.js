// The status line under the picture.
export const statusLine = document.getElementById('status');

export function setStatus(text) {
  statusLine.textContent = text;
}
