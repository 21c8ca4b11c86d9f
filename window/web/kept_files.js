// The page's side of what the game keeps and of the replays that travel (kept_files.cpp is the
// game's). Linked into sinkaway.js ahead of the game (--pre-js), so it runs before main.
//  - The store's folders are mounted from the browser's storage (IndexedDB) and filled from it
//    before main runs; each job of the store that must see the latest files claims them, reading
//    them afresh under a lock every tab shares, and writes back what it changed as it lets go.
//  - A replay file the player picks (the panel's O) or drops on the page is written where the
//    game reads it, no more of it than the game's reader takes, and the game is asked to play it.
var sinkawayKept = {
  // The store's data and settings folders as the game finds them under the page's HOME.
  folders: ['/home/web_user/.local/share/sinkaway', '/home/web_user/.config/sinkaway'],
  // The browser's copy is shared by every tab of the page, so it is one tab's at a time: a job of
  // the store that reads what another tab may have written, or writes, first takes the page's
  // lock (Web Locks), reads the browser's copy afresh, and once done writes back what it changed
  // before letting go. The store's own rules then merge its change into the latest table, as for
  // two copies of the game on a desktop. 'free', 'asked' (waiting for the lock or the reading),
  // 'ours', or 'leaving' (writing back).
  state: 'free',
  letGo: null,

  claim() {
    if (this.state === 'ours')
      return 1;
    if (this.state !== 'free')
      return 0;
    this.state = 'asked';
    const fresh = (letGo) => {
      this.letGo = letGo;
      FS.syncfs(true, (error) => {
        if (error)
          console.warn('sinkaway: the best games kept in this browser could not be read:', error);
        this.state = 'ours';
      });
    };
    // Without Web Locks (an old browser, or a page served insecurely) one tab is all it can keep
    // apart; the copy is still read afresh.
    if (navigator.locks)
      navigator.locks.request('sinkaway-kept', () => new Promise(fresh));
    else
      fresh(() => {});
    return 0;
  },

  release(wrote) {
    this.state = 'leaving';
    const done = () => {
      const letGo = this.letGo;
      this.letGo = null;
      this.state = 'free';
      letGo();
    };
    if (!wrote)
      return done();
    FS.syncfs(false, (error) => {
      if (error)
        console.warn('sinkaway: the best games could not be kept in this browser:', error);
      done();
    });
  },

  bring(file) {
    if (!runtimeInitialized)
      return;
    file.slice(0, _sinkaway_replay_limit() + 1).arrayBuffer().then((bytes) => {
      FS.writeFile(UTF8ToString(_sinkaway_replay_inbox()), new Uint8Array(bytes));
      _sinkaway_watch_replay();
    });
  },

  // The file's very bytes as a download, so that the desktop's --verify reads what the page
  // kept. 0 when the file cannot be read.
  offer(path, name) {
    let bytes;
    try {
      bytes = FS.readFile(path);
    } catch (e) {
      return 0;
    }
    const url = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
    return 1;
  },

  // The browser shows its file picker only during a gesture of the player's. A key press is one
  // until the frame that hears it; a finger counts only once lifted, and the panel's button
  // acts as it touches, so the picker then waits for the finger to leave the screen.
  pick() {
    const input = document.getElementById('replay-file');
    if (navigator.userActivation && !navigator.userActivation.isActive) {
      addEventListener('pointerup', () => input.click(), { once: true, capture: true });
      return;
    }
    input.click();
  },
};

Module.preRun = [].concat(Module.preRun || []);
Module.preRun.push(() => {
  for (const folder of sinkawayKept.folders) {
    FS.mkdirTree(folder);
    FS.mount(IDBFS, {}, folder);
  }
  // Without the browser's storage (a private window may have none) the game starts all the same,
  // keeping its games until the page is left. Kept storage is not evicted when the disk runs
  // short; a browser that refuses (most ask nothing and decide by how much the page is used)
  // still keeps it as long as it keeps any site's.
  if (navigator.storage && navigator.storage.persist) {
    navigator.storage.persist().then((kept) => {
      if (!kept)
        console.log('sinkaway: this browser may clear the best games when it runs short of space');
    }, () => {});
  }
  addRunDependency('sinkaway-kept');
  FS.syncfs(true, (error) => {
    if (error)
      console.warn('sinkaway: the best games kept in this browser could not be read:', error);
    removeRunDependency('sinkaway-kept');
  });
});

(function () {
  const input = document.createElement('input');
  input.type = 'file';
  input.id = 'replay-file';
  input.accept = '.txt,text/plain';
  input.hidden = true;
  input.addEventListener('change', () => {
    if (input.files.length > 0)
      sinkawayKept.bring(input.files[0]);
    input.value = '';
    Module.canvas.focus();
  });
  document.body.appendChild(input);
  // A file dropped anywhere on the page is the game's, rather than a page the browser opens.
  addEventListener('dragover', (e) => {
    e.preventDefault();
    e.dataTransfer.dropEffect = 'copy';
  });
  addEventListener('drop', (e) => {
    e.preventDefault();
    if (e.dataTransfer.files.length > 0)
      sinkawayKept.bring(e.dataTransfer.files[0]);
  });
})();
