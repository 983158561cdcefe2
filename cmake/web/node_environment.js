// The process's environment as the program's: getenv() sees KVR_* and the
// rest as a native process would (Emscripten starts from a fixed set).
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  for (var key in ENV) delete ENV[key];
  for (var name in process.env) ENV[name] = process.env[name];
});
