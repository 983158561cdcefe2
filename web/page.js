// The page of maison: loads the program (maison.js and its WebAssembly),
// shows how far the loading got, hands it the launch code of the address
// (?code=1231) and its settings, and says when the session is over.
// ?trace=1 keeps the runtime's trace in maison.trace and the console;
// ?record=0 records nothing.
(function() {
  'use strict';

  var WASM_SIZE = Number('@MAISON_WASM_SIZE@') || 0;
  var RECORDING = 'maison-enregistrement.txt';
  var params = new URLSearchParams(window.location.search);
  var served = window.location.protocol === 'http:' || window.location.protocol === 'https:';
  var canvas = document.getElementById('canvas');
  var loading = document.getElementById('loading');
  var step = document.getElementById('loading-step');
  var bar = document.getElementById('loading-bar');

  // What tests and curious people can read from the console.
  var maison = window.maison = {
    state: 'chargement',  // then 'en cours', 'terminé' or 'erreur'
    trace: [],
    downloads: [],
    frames: 0,
    firstFrameAt: 0,
    lastFrameAt: 0,
    exitStatus: null,
  };

  document.documentElement.classList.add('js');

  function show(title, text, withRecording) {
    loading.hidden = true;
    // The canvas is emptied when the program ends: the page's colour instead.
    canvas.hidden = true;
    document.getElementById('message-title').textContent = title;
    document.getElementById('message-text').textContent = text;
    var recording = document.getElementById('recording');
    recording.hidden = !withRecording;
    document.getElementById('message').hidden = false;
    document.getElementById('restart').focus();
  }

  function fail(text) {
    if (maison.state === 'erreur') return;
    maison.state = 'erreur';
    show('Le simulateur s\u2019est arrêté', text, false);
  }

  document.getElementById('restart').addEventListener('click', function() {
    window.location.reload();
  });

  function save(name, blob) {
    maison.downloads.push(name);
    var url = URL.createObjectURL(blob);
    var link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() {
      URL.revokeObjectURL(url);
    }, 60000);
  }

  document.getElementById('recording').addEventListener('click', function() {
    var data = window.Module.maisonReadFile('/' + RECORDING);
    if (data) save(RECORDING, new Blob([data], {type: 'text/plain'}));
  });

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    maison.state = 'erreur';
    show('Navigateur trop ancien',
         'Ce simulateur a besoin de WebAssembly, que ce navigateur ne propose pas. ' +
             'Ouvrez cette page avec une version récente de Firefox, Chrome, Edge ou Safari.',
         false);
    return;
  }

  // The launch code, as the menu program gives it on the command line.
  var args = [];
  var code = params.get('code');
  if (code !== null && code !== '') {
    if (!/^[0-9]{1,5}$/.test(code) || Number(code) > 65535) {
      maison.state = 'erreur';
      show('Code de lancement invalide',
           '« ' + code + ' » n\u2019est pas un code de lancement : il faut un nombre de 0 à ' +
               '65535. Sans code, le simulateur démarre normalement.',
           false);
      document.getElementById('restart').textContent = 'Démarrer sans code';
      document.getElementById('restart').onclick = function(event) {
        event.stopImmediatePropagation();
        window.location.search = '';
      };
      return;
    }
    args.push(String(Number(code)));
  }

  // Keys the browser keeps: F11 (its full screen), F12 (its tools) and
  // every shortcut with Ctrl, Alt or Cmd never reach the program, which
  // would cancel them.
  window.addEventListener('keydown', function(event) {
    if (event.key === 'F11' || event.key === 'F12' || event.ctrlKey || event.altKey ||
        event.metaKey) {
      event.stopImmediatePropagation();
    }
  }, true);
  // A long press is the program's right click, not the browser's menu.
  canvas.addEventListener('contextmenu', function(event) {
    event.preventDefault();
  });
  document.addEventListener('gesturestart', function(event) {
    event.preventDefault();
  });

  function progress(fraction, text) {
    if (text) step.textContent = text;
    if (fraction === null) {
      bar.removeAttribute('value');
    } else {
      bar.value = Math.max(0, Math.min(100, Math.round(fraction * 100)));
    }
  }

  function loadScript(src) {
    return new Promise(function(resolve, reject) {
      var script = document.createElement('script');
      script.src = src;
      script.onload = resolve;
      script.onerror = function() {
        reject(new Error(src));
      };
      document.body.appendChild(script);
    });
  }

  // The WebAssembly, read as it comes so that the bar moves, compiled while
  // it is read.
  function instantiateServed(imports, receive) {
    fetch('maison.wasm', {credentials: 'same-origin'})
        .then(function(response) {
          if (!response.ok) throw new Error('maison.wasm : ' + response.status);
          var total = WASM_SIZE || Number(response.headers.get('Content-Length')) || 0;
          var loaded = 0;
          var body = response.body;
          if (body && typeof ReadableStream === 'function') {
            var reader = body.getReader();
            body = new ReadableStream({
              pull: function(controller) {
                return reader.read().then(function(chunk) {
                  if (chunk.done) {
                    controller.close();
                    progress(1, 'Préparation du simulateur…');
                    return;
                  }
                  loaded += chunk.value.length;
                  progress(total ? loaded / total : null);
                  controller.enqueue(chunk.value);
                });
              },
            });
          }
          var counted = new Response(body, {headers: {'Content-Type': 'application/wasm'}});
          if (typeof WebAssembly.instantiateStreaming === 'function') {
            return WebAssembly.instantiateStreaming(counted, imports);
          }
          return counted.arrayBuffer().then(function(bytes) {
            return WebAssembly.instantiate(bytes, imports);
          });
        })
        .then(function(result) {
          receive(result.instance, result.module);
        })
        .catch(function(error) {
          fail('Le programme n\u2019a pas pu être chargé (' + error.message + '). ' +
               'Vérifiez la connexion, puis rechargez la page.');
        });
    return {};
  }

  // The session's pointer input is recorded (?record=0: not), downloadable
  // when it ends and replayed by the installed program
  // (KVR_BACKEND=headless KVR_INPUT=maison-enregistrement.txt maison).
  var environment = {};
  if (params.get('record') !== '0') environment.KVR_RECORD = RECORDING;

  var Module = window.Module = {
    canvas: canvas,
    arguments: args,
    maisonArguments: args.slice(),
    maisonEnvironment: environment,
    print: function(text) {
      console.log(text);
    },
    printErr: function(text) {
      console.warn(text);
    },
    maisonDownload: save,
    onRuntimeInitialized: function() {
      maison.state = 'en cours';
      loading.hidden = true;
      canvas.focus();
    },
    onMaisonFrame: function() {
      var now = performance.now();
      if (!maison.frames) maison.firstFrameAt = now;
      maison.frames += 1;
      maison.lastFrameAt = now;
    },
    onExit: function(status) {
      maison.exitStatus = status;
      window.Module.maisonKeepSettings();
      if (maison.state === 'erreur') return;
      maison.state = 'terminé';
      var recorded = window.Module.maisonReadFile('/' + RECORDING) !== null;
      show('Session terminée',
           status === 0 ? 'Le simulateur est fermé. Recommencez pour une nouvelle session.' :
                          'Le simulateur s\u2019est fermé (état ' + status + ').',
           recorded);
    },
    onAbort: function(what) {
      fail('Une erreur l\u2019a interrompu (' + what + '). Recommencez pour une nouvelle session.');
    },
  };
  // The settings the program changed (palette, humidity) are kept when the
  // page is left or hidden, as the window keeps them in kvr.ini.
  function keepSettings() {
    if (Module.maisonKeepSettings && maison.state === 'en cours') Module.maisonKeepSettings();
  }
  window.addEventListener('pagehide', keepSettings);
  document.addEventListener('visibilitychange', function() {
    if (document.visibilityState === 'hidden') keepSettings();
  });
  if (params.get('trace') === '1') {
    Module.onMaisonTrace = function(line) {
      maison.trace.push(line);
      console.log(line);
    };
  }

  if (served) {
    Module.instantiateWasm = instantiateServed;
    progress(0, 'Chargement du simulateur…');
    // Installable as an application, and usable offline once loaded.
    var manifest = document.createElement('link');
    manifest.rel = 'manifest';
    manifest.href = 'manifest.webmanifest';
    document.head.appendChild(manifest);
    if ('serviceWorker' in navigator) {
      window.addEventListener('load', function() {
        navigator.serviceWorker.register('sw.js').catch(function() {
          // Without it the page works, only not offline.
        });
      });
    }
    loadScript('maison.js').catch(function() {
      fail('Le programme n\u2019a pas pu être chargé. Vérifiez la connexion, puis rechargez ' +
           'la page.');
    });
  } else {
    // Opened from a folder (file://): the browser reads no file by fetch,
    // so the WebAssembly comes in a script of its own.
    progress(null, 'Chargement du simulateur…');
    loadScript('maison-wasm.js')
        .then(function() {
          var text = window.atob(window.maisonWasm);
          var bytes = new Uint8Array(text.length);
          for (var i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
          window.maisonWasm = null;
          Module.wasmBinary = bytes;
          progress(1, 'Préparation du simulateur…');
          return loadScript('maison.js');
        })
        .catch(function(error) {
          fail('Le programme n\u2019a pas pu être chargé (' + error.message + ' manque à côté de ' +
               'index.html).');
        });
  }
})();
