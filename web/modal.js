// The page's own modal forms (the message box, the detail settings, the notebook's line editor, title box
// and page editor): each opening is answered exactly once, at the moment the pupil answers — inside the key
// or the tap that gave the answer. The browser's close event comes later, in a task of its own; by then the
// same form may already be open again for the next line, so nothing is decided there.

// Opens the <dialog> (with a <form method="dialog">) as a modal, puts the caret into focus (or the
// dialog's first field) at once, and calls answered(value) once: the value of the button pressed (Enter in
// a field presses the first one), or null for Escape and for any other way the dialog was closed.
export function openModal(dlg, { focus = null, answered = () => {} } = {}) {
  const form = dlg.querySelector('form');
  const opening = (dlg.openings || 0) + 1;
  dlg.openings = opening;
  let done = false;
  function finish(value) {
    if (done) return;
    done = true;
    form.removeEventListener('submit', onSubmit);
    dlg.removeEventListener('cancel', onCancel);
    dlg.removeEventListener('close', onClose);
    if (dlg.open) dlg.close(value === null ? '' : value);
    answered(value);
  }
  function onSubmit(e) {
    e.preventDefault();
    const button = e.submitter || form.querySelector('button:not([type="button"])');
    finish(button ? button.value : null);
  }
  function onCancel(e) {
    e.preventDefault();
    finish(null);
  }
  // Closed some other way. A close event of an earlier opening that arrives while this one is open is not ours.
  function onClose() {
    if (dlg.open || dlg.openings !== opening) return;
    finish(dlg.returnValue || null);
  }
  form.addEventListener('submit', onSubmit);
  dlg.addEventListener('cancel', onCancel);
  dlg.addEventListener('close', onClose);
  dlg.returnValue = '';
  if (!dlg.open) dlg.showModal();
  (focus || dlg.querySelector('input, textarea, select, button')).focus();
}
