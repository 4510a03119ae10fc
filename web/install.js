// Installing the page: its service worker (service-worker.js) keeps the page's files for use
// with no network. A worker needs a page served over http or https; a page opened from a file
// works as before, without one.
const served = window.location.protocol === 'http:' || window.location.protocol === 'https:';
if (served && 'serviceWorker' in navigator) {
  window.addEventListener('load', () => {
    navigator.serviceWorker.register('service-worker.js').catch((error) => {
      console.warn('The page will not work offline: ' + error.message);
    });
  });
}
