// @ts-check
// The offline copy: registers the service worker (sw.js), which caches
// every file of the page on the first visit. When a new version has been
// installed, the page tells it to take over and reloads once, so that all
// of its files come from the new version together.

export function registerServiceWorker() {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('sw.js').then((registration) => {
    // A new version waits until this page tells it to take over; then one
    // reload brings all of its files at once.
    const takeOver = () => registration.waiting?.postMessage('take-over');
    if (registration.waiting) takeOver();
    registration.addEventListener('updatefound', () => {
      registration.installing?.addEventListener('statechange', () => {
        if (registration.waiting && navigator.serviceWorker.controller) takeOver();
      });
    });
  }).catch(() => {
    // No offline copy; the page works as it is.
  });
  // The first visit's worker does not take the open page over; only a
  // replaced version reloads it.
  const hadController = navigator.serviceWorker.controller !== null;
  let reloaded = false;
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (reloaded || !hadController) return;
    reloaded = true;
    location.reload();
  });
}
