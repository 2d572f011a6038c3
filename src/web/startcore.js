// Appended to fotonar-core.js, which the page loads asynchronously: the module starts compiling
// as soon as its script has arrived, while the page is still being read.
window.fotonarCore = createFotonarCore();
window.dispatchEvent(new Event('fotonarcore'));
