// Save picture and Save figures: the files the program kept when the run ended
// (services/program/run_files.h, program.js), named as the desktop's --save names them, offered for
// download.

// Hands `bytes` to the browser as a download named `name`.
function download(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);  // the download has taken it by then
}

// Makes the two buttons download the files kept by the program that `currentProgram()` gives
// (a Program, or null).
export function offer(pictureButton, figuresButton, currentProgram) {
  const save = (which, extension, type) => {
    const kept = currentProgram()?.keptFiles();
    if (kept) download(kept[which], kept.name + extension, type);
  };
  pictureButton.addEventListener('click', () => save('picture', '.png', 'image/png'));
  figuresButton.addEventListener('click', () => save('figures', '.csv', 'text/csv;charset=utf-8'));
}
