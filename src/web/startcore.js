// Appended to fotonar-core.js, which the page loads asynchronously: the module starts compiling
// as soon as its script has arrived, while the page is still being read. The single file
// carries the module before this script, and its page hands over the bytes once it has checked
// them (or throws, where they are damaged, and the page's start-up says so).
window.fotonarCore = window.fotonarEmbeddedModule
    ? new Promise((resolve) => resolve(createFotonarCore({wasmBinary: window.fotonarEmbeddedModule()})))
    : createFotonarCore();
window.dispatchEvent(new Event('fotonarcore'));
