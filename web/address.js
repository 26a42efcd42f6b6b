// What the page's address asks for: an assignment's code in its fragment.

// The code in a page address's fragment ("#kadai=CODE"), or null when the fragment carries none.
export function assignmentCode(hash) {
  const m = /^#(?:.*&)?kadai=([^&]*)/.exec(String(hash || ''));
  if (!m) return null;
  try {
    return decodeURIComponent(m[1]);
  } catch {
    return m[1];
  }
}
