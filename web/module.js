// Linked into maison.js before the program (--pre-js). What the page
// (page.js) hands the program through Module before it starts:
//   Module.arguments           the launch code, as on the command line (and
//                              Module.maisonArguments, the same)
//   Module.maisonEnvironment   the runtime's KVR_* settings
//   Module.onMaisonTrace(line) when set, gets every line of the trace
// and what it may ask afterwards: Module.maisonReadFile(path),
// Module.maisonKeepSettings() (the settings file kept for the next visit),
// Module.maisonMemory().
var SETTINGS_KEY = 'maison:kvr.ini';
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
  // What the program keeps in its settings for the next run (the palette,
  // the humidity) the browser keeps between visits, as long as the page's
  // own settings file is the one it was kept from. Just before main: the
  // embedded files are made by a preRun that runs after this one.
  addOnPreMain(function() {
    try {
      var base = FS.readFile('/kvr.ini', {encoding: 'utf8'});
      Module['maisonSettingsBase'] = base;
      var kept = JSON.parse(window.localStorage.getItem(SETTINGS_KEY) || 'null');
      if (kept && kept.base === base && typeof kept.text === 'string') {
        FS.writeFile('/kvr.ini', kept.text);
      }
    } catch (e) {
      // No storage (a private window, file:// in some browsers): defaults.
    }
  });
  // The command line a recording notes for its replay ("maison 1231").
  var words = ['maison'].concat(Module['maisonArguments'] || []);
  try {
    FS.writeFile('/proc/self/cmdline', words.join('\0') + '\0');
  } catch (e) {
    // Without it the recording only lacks that note.
  }
});

Module['maisonKeepSettings'] = function() {
  try {
    var text = FS.readFile('/kvr.ini', {encoding: 'utf8'});
    var base = Module['maisonSettingsBase'];
    if (typeof base === 'string') {
      window.localStorage.setItem(SETTINGS_KEY, JSON.stringify({base: base, text: text}));
    }
  } catch (e) {
    // Nothing kept: the next visit starts from the defaults.
  }
};

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
