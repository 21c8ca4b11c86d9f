// The page's side of the best games' files and of the replays that travel (best_games_files.cpp
// is the game's). Linked into sinkaway.js ahead of the game (--pre-js), so it runs before main.
//  - The store's folders are mounted from the browser's storage (IndexedDB) and filled from it
//    before main runs; each job of the store that must see the latest files claims them, reading
//    them afresh under a lock every tab shares, and writes back what it changed as it lets go.
//  - A replay file the player picks (the panel's O) or drops on the page is written where the
//    game reads it, no more of it than the game's reader takes, and the game is asked to play it.
var sinkawayBestGames = {
  // The store's data and settings folders as the game finds them under the page's HOME.
  folders: ['/home/web_user/.local/share/sinkaway', '/home/web_user/.config/sinkaway'],
  // The browser's copy is shared by every tab of the page, so it is one tab's at a time: the part
  // of a store's job that reads what another tab may have written, or writes, runs under the
  // page's lock (Web Locks) on the folders read afresh, and what it changed is written back before
  // the lock goes. The store's own rules then merge its change into the latest table, as for two
  // copies of the game on a desktop. All of it runs in the browser's own tasks, not in frames, so
  // a tab in the background, which draws none, holds the lock no longer than it needs.
  turns: Promise.resolve(),

  claim(writes) {
    const turn = async () => {
      await this.sync(true);
      _sinkaway_store_touch();
      if (writes)
        await this.sync(false);
    };
    // Without Web Locks (an old browser, or a page served insecurely) only this tab's own turns
    // are kept apart; the copy is still read afresh.
    this.turns = this.turns.then(() => navigator.locks ? navigator.locks.request('sinkaway-kept', turn)
                                                       : turn());
  },

  sync(populate) {
    return new Promise((resolve) => FS.syncfs(populate, (error) => {
      if (error)
        console.warn('sinkaway: the best games in this browser could not be ' +
                     (populate ? 'read:' : 'kept:'), error);
      resolve();
    }));
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
  for (const folder of sinkawayBestGames.folders) {
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
      sinkawayBestGames.bring(input.files[0]);
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
      sinkawayBestGames.bring(e.dataTransfer.files[0]);
  });
})();
