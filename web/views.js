// The views the calculation screen's first picture does not show, in a script of their own
// (kazoru-views.js) that the page asks for when one of them first opens: the pupil's assignment, the
// teacher's class summary, and the notebook's practice-sheet maker with its hand-out.
export { installAssignment } from './assign.js';
export { installClassSummary } from './classsummary.js';
export { installSheetMaker } from './sheetmaker.js';
