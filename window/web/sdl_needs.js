// Runtime helpers that SDL2's own JavaScript (its audio) calls but that a self-built SDL2 does not
// declare, so the linker would leave them out and opening the audio would throw.
mergeInto(LibraryManager.library, {
  sinkaway_sdl_needs__deps: ['$autoResumeAudioContext', '$dynCall'],
  sinkaway_sdl_needs: function() {},
});
