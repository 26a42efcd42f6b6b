// A finger dragged up or down a canvas scrolls it: each move of 8 px or more is handed to scroll(dy), with
// dy positive when the finger moves up (the page goes on downwards).
export function swipeToScroll(canvas, scroll) {
  let touchY = null;
  canvas.addEventListener('touchstart', (e) => { touchY = e.touches[0].clientY; }, { passive: true });
  canvas.addEventListener('touchmove', (e) => {
    if (touchY === null) return;
    const dy = touchY - e.touches[0].clientY;
    if (Math.abs(dy) >= 8) {
      touchY = e.touches[0].clientY;
      scroll(Math.round(dy));
    }
  }, { passive: true });
}
