// The page's IndexedDB databases: each one opened once, on first use, with its one object store made when
// the database is new. A database that cannot be opened (storage forbidden, blocked by another tab) gives a
// rejected promise, which the caller tells the pupil of.
export function databaseOpener(name, store) {
  let opening = null;
  return () => {
    if (!opening) {
      opening = new Promise((resolve, reject) => {
        let req;
        try {
          req = indexedDB.open(name, 1);
        } catch (err) {
          reject(err);
          return;
        }
        req.onupgradeneeded = () => req.result.createObjectStore(store);
        req.onsuccess = () => resolve(req.result);
        req.onerror = () => reject(req.error);
        req.onblocked = () => reject(new Error('blocked'));
      });
      opening.catch(() => {});
    }
    return opening;
  };
}
