// A finger dragged up or down a canvas scrolls it: each move of 8 px or more is handed to scroll(dy), with
// dy positive when the finger moves up (the page goes on downwards). Two fingers drawn apart or together
// (a pinch) hand zoom(+1) or zoom(-1) to the page for each quarter the distance between them grows or shrinks.
export function swipeToScroll(canvas, scroll, zoom = null) {
  let touchY = null;
  let spread = 0;
  const distance = (t) => Math.hypot(t[0].clientX - t[1].clientX, t[0].clientY - t[1].clientY);
  canvas.addEventListener('touchstart', (e) => {
    touchY = e.touches[0].clientY;
    spread = e.touches.length >= 2 ? distance(e.touches) : 0;
  }, { passive: true });
  canvas.addEventListener('touchmove', (e) => {
    if (e.touches.length >= 2) {
      touchY = null;
      if (!zoom) return;
      const d = distance(e.touches);
      if (!spread) spread = d;
      if (d >= spread * 1.25 || d <= spread * 0.8) {
        zoom(d > spread ? 1 : -1);
        spread = d;
      }
      return;
    }
    if (touchY === null) return;
    const dy = touchY - e.touches[0].clientY;
    if (Math.abs(dy) >= 8) {
      touchY = e.touches[0].clientY;
      scroll(Math.round(dy));
    }
  }, { passive: true });
  canvas.addEventListener('touchend', (e) => {
    spread = e.touches.length >= 2 ? distance(e.touches) : 0;
    touchY = e.touches.length === 1 ? e.touches[0].clientY : null;
  }, { passive: true });
}
