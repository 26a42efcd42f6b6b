// One element made with its properties and children: `class` sets the class name, `dataset` the data-
// attributes, a property the element has is set as a property, anything else as an attribute; children
// that are null or undefined are left out.
export const el = (tag, props = {}, ...children) => {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(props)) {
    if (k === 'class') e.className = v;
    else if (k === 'dataset') Object.assign(e.dataset, v);
    else if (k in e) e[k] = v;
    else e.setAttribute(k, v);
  }
  for (const c of children) if (c !== null && c !== undefined) e.append(c);
  return e;
};
