// The page's side of the browser backend (page_bridge.h): a JavaScript
// library linked into maison.js with --js-library.
mergeInto(LibraryManager.library, {
  $MaisonPage: {
    // The wake-up of the wait in progress, if the program waits.
    wake: null,
    context: null,
    canvas: null,
    image: null,
    imageBuffer: null,
    imageAt: 0,
    types: {pdf: 'application/pdf', csv: 'text/csv', png: 'image/png', txt: 'text/plain'},
  },

  maison_page_listen__deps: ['$MaisonPage'],
  maison_page_listen: function() {
    // Bubbling listeners on the window, added after SDL's on the canvas,
    // the document and the window: SDL has queued the event when the
    // program wakes, here and now, still inside the event (a download or
    // the full screen then count as the person's own doing).
    var wake = function() {
      var resume = MaisonPage.wake;
      if (resume) resume();
    };
    ['mousemove', 'mousedown', 'mouseup', 'keydown', 'keyup', 'touchstart', 'touchmove',
     'touchend', 'touchcancel', 'resize', 'focus', 'blur', 'visibilitychange']
        .forEach(function(type) {
          window.addEventListener(type, wake);
        });
  },

  maison_page_wait__deps: ['$MaisonPage', '$callUserCallback', '$runtimeKeepalivePush',
                           '$runtimeKeepalivePop'],
  maison_page_wait: function(ms) {
    return Asyncify.handleSleep(function(wakeUp) {
      // The program is alive while it sleeps; when it returns from main
      // after a wake-up, callUserCallback ends the run (Module.onExit).
      runtimeKeepalivePush();
      var timer = 0;
      var resume = function() {
        if (MaisonPage.wake !== resume) return;
        MaisonPage.wake = null;
        if (timer) clearTimeout(timer);
        runtimeKeepalivePop();
        callUserCallback(wakeUp);
      };
      MaisonPage.wake = resume;
      if (ms >= 0) timer = setTimeout(resume, ms);
    });
  },

  maison_page_put__deps: ['$MaisonPage'],
  maison_page_put: function(rgba, width, height, x, y, w, h) {
    var canvas = Module['canvas'];
    if (MaisonPage.canvas !== canvas) {
      MaisonPage.canvas = canvas;
      MaisonPage.context = canvas.getContext('2d', {alpha: false});
    }
    // The pixels stay in the program's memory: the picture is a view on
    // them, made again when the memory grows or the picture moves.
    var image = MaisonPage.image;
    if (!image || MaisonPage.imageBuffer !== HEAPU8.buffer || MaisonPage.imageAt !== rgba ||
        image.width !== width || image.height !== height) {
      image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4),
                            width, height);
      MaisonPage.image = image;
      MaisonPage.imageBuffer = HEAPU8.buffer;
      MaisonPage.imageAt = rgba;
    }
    MaisonPage.context.putImageData(image, 0, 0, x, y, w, h);
  },

  maison_page_shown: function() {
    if (Module['onMaisonFrame']) Module['onMaisonFrame']();
  },

  maison_page_deliver__deps: ['$MaisonPage', '$FS'],
  maison_page_deliver: function(folder) {
    var dir = UTF8ToString(folder);
    var names;
    try {
      names = FS.readdir(dir).filter(function(name) {
        return name !== '.' && name !== '..';
      });
    } catch (e) {
      return;
    }
    names.sort().forEach(function(name) {
      var path = dir + '/' + name;
      var data = FS.readFile(path);
      FS.unlink(path);
      var extension = name.split('.').pop().toLowerCase();
      var blob = new Blob([data], {type: MaisonPage.types[extension] || 'application/octet-stream'});
      // The page (web/page.js) saves it as a download.
      Module['maisonDownload'](name, blob);
    });
  },

  maison_page_fullscreen: function() {
    var doc = document;
    var element = doc.documentElement;
    if (doc.fullscreenElement || doc.webkitFullscreenElement) {
      (doc.exitFullscreen || doc.webkitExitFullscreen).call(doc);
    } else if (element.requestFullscreen) {
      element.requestFullscreen().catch(function() {});
    } else if (element.webkitRequestFullscreen) {
      element.webkitRequestFullscreen();
    }
  },
});
