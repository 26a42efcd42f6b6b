// A drawing list as an SVG picture for paper: text, bars and fills stay vectors, so a printer draws them
// sharp at its own resolution (a picture of the screen would print soft).

const esc = (t) => t.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

// width × height in the list's pixels; fontStack, pixelSize(points) and ascent(points) as the screen draws;
// the drawing moved in by margin pixels from the paper's edge, where printers cannot print.
export function svgOf(list, width, height, { fontStack, pixelSize, ascent, margin = 0 }) {
  const parts = [`<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${width} ${height}" width="${width}" height="${height}">`,
    `<style>text { font-family: ${fontStack}; white-space: pre; }</style>`,
    `<rect width="${width}" height="${height}" fill="#ffffff"/>`, `<g transform="translate(${margin} ${margin})">`];
  for (const row of list.split('\n')) {
    if (!row) continue;
    const f = row.split('\t');
    const x = +f[1], y = +f[2], x2 = +f[3], y2 = +f[4];
    if (f[0] === 'F') {
      parts.push(`<rect x="${x}" y="${y}" width="${x2 - x}" height="${y2 - y}" fill="#${f[5]}"/>`);
    } else if (f[0] === 'L') {
      const w = Math.max(1, +f[6]);
      const o = w % 2 ? 0.5 : 0;
      parts.push(`<line x1="${x + o}" y1="${y + o}" x2="${x2 + o}" y2="${y2 + o}" stroke="#${f[5]}" stroke-width="${w}" stroke-linecap="square"/>`);
    } else if (f[0] === 'T') {
      const size = +f[5], bold = f[6] === '1', text = f.slice(9).join('\t');
      if (f[8] !== 'ffffff') parts.push(`<rect x="${x}" y="${y}" width="${x2 - x}" height="${y2 - y}" fill="#${f[8]}"/>`);
      parts.push(`<text x="${x}" y="${y + ascent(size)}" font-size="${pixelSize(size)}" fill="#${f[7]}"${bold ? ' font-weight="bold"' : ''}>${esc(text)}</text>`);
    }
  }
  parts.push('</g></svg>');
  return parts.join('');
}
