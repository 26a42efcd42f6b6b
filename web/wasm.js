// Bytes handed to the C++ program: copied into its memory for the length of one call.

// Calls fn(pointer, length) with the bytes in the module's memory and returns what it returns.
export function withBytes(M, bytes, fn) {
  const p = M._malloc(Math.max(1, bytes.length));
  M.HEAPU8.set(bytes, p);
  try { return fn(p, bytes.length); } finally { M._free(p); }
}
