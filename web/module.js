// Linked into maison.js before the program (--pre-js). What the page
// (page.js) hands the program through Module before it starts:
//   Module.arguments           the launch code, as on the command line (and
//                              Module.maisonArguments, the same)
//   Module.maisonEnvironment   the runtime's KVR_* settings
//   Module.onMaisonTrace(line) when set, gets every line of the trace
// and what it may read afterwards: Module.maisonReadFile(path),
// Module.maisonMemory().
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  var environment = Module['maisonEnvironment'] || {};
  for (var name in environment) ENV[name] = environment[name];
  var onLine = Module['onMaisonTrace'];
  if (onLine) {
    // The trace goes to a device whose every line is handed to the page.
    var bytes = [];
    FS.createDevice('/dev', 'maison-trace', null, function(byte) {
      if (byte === 10) {
        onLine(UTF8ArrayToString(bytes, 0));
        bytes = [];
      } else {
        bytes.push(byte);
      }
    });
    ENV['KVR_TRACE'] = '/dev/maison-trace';
  }
  // The command line a recording notes for its replay ("maison 1231").
  var words = ['maison'].concat(Module['maisonArguments'] || []);
  try {
    FS.writeFile('/proc/self/cmdline', words.join('\0') + '\0');
  } catch (e) {
    // Without it the recording only lacks that note.
  }
});

Module['maisonReadFile'] = function(path) {
  try {
    return FS.readFile(path);
  } catch (e) {
    return null;
  }
};

// How much memory the program uses: its heap in use (bytes malloc counts)
// and the WebAssembly memory's size, for the page's test.
Module['maisonMemory'] = function() {
  return {heap: Module['_maison_heap_in_use'](), memory: HEAPU8.length};
};
