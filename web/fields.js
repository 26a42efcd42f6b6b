// Every text field of the page takes what the pupil types with the Japanese input on as the desktop's
// fields do: full-width digits, letters and signs become their half-width forms as they are typed (the
// model's own rule, HalfWidthInput), once the input method has handed the text over. Each such character
// is one UTF-16 unit before and after, so the caret stays where it was.

const isField = (el) => el instanceof HTMLTextAreaElement
  || (el instanceof HTMLInputElement && ['text', 'search', ''].includes(el.getAttribute('type') || ''));

export function installHalfWidthFields(M) {
  const halfWidth = M.cwrap('kz_half_width', 'string', ['string']);
  const take = (el) => {
    if (!isField(el)) return;
    const typed = el.value;
    // Most keys bring nothing full-width: nothing to ask the model about.
    if (!/[\uff01-\uff5e\u3000\u2212]/.test(typed)) return;
    const taken = halfWidth(typed);
    if (taken === typed) return;
    const { selectionStart: start, selectionEnd: end, selectionDirection: dir } = el;
    el.value = taken;
    if (start !== null && document.activeElement === el) el.setSelectionRange(start, end, dir);
  };
  // While the input method composes, its text is left alone; it is taken when handed over (Chromium sends
  // the last input event before compositionend, Firefox after it).
  document.addEventListener('input', (e) => { if (!e.isComposing) take(e.target); }, true);
  document.addEventListener('compositionend', (e) => take(e.target), true);
  return { halfWidth };
}
