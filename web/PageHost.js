// The page side of Tavik's browser host (declared in PageHost.h), linked into tavik.js as an
// Emscripten JavaScript library. The canvas is the demo's one window: it fills the page, sits
// at a given size in the middle of it, or fills the browser's full screen, and is drawn at the
// display's own resolution. The keys reach the demo as freeglut gives them, the tab's
// visibility is GLUT's window status, and the end of a session leaves the page waiting for a
// key or a click to start again.
//
// The page tells its state in the data-tavik attribute of its root element, which its style
// follows and tests read: "loading", "running", "ended", "no-webgl", and "failed" (the page
// sets the first and the last).

var LibraryTavikPage = {
  $TavikPage__deps: ['$GLUT', '$Browser', '$callUserCallback', 'glutPostRedisplay'],
  $TavikPage: {
    // The window's size in CSS pixels while it does not fill the page.
    width: 640,
    height: 480,
    fillsPage: false,

    // GLUT's key symbols and display mode bits used here.
    KEY_ESCAPE: 27,
    DISPLAY_ALPHA: 0x0008,
    DISPLAY_DEPTH: 0x0010,
    DISPLAY_STENCIL: 0x0020,
    DISPLAY_MULTISAMPLE: 0x0080,
    CURSOR_INHERIT: 0x0064,
    CURSOR_NONE: 0x0065,

    // Canvas pixels per CSS pixel: the display's own, unless the page fixes it in
    // Module.tavikPixelRatio (snapshot.html draws one canvas pixel to one CSS pixel).
    pixelRatio: function() {
      return Module['tavikPixelRatio'] || devicePixelRatio;
    },

    setState: function(state) {
      document.documentElement.dataset.tavik = state;
    },

    // The canvas's size in the page: all of it, or width x height in its middle.
    layout: function() {
      var canvas = Module['canvas'];
      canvas.classList.toggle('fills-page', TavikPage.fillsPage);
      canvas.style.width = TavikPage.fillsPage ? '' : TavikPage.width + 'px';
      canvas.style.height = TavikPage.fillsPage ? '' : TavikPage.height + 'px';
      var box = canvas.getBoundingClientRect();
      var ratio = TavikPage.pixelRatio();
      TavikPage.resize(Math.round(box.width * ratio), Math.round(box.height * ratio));
    },

    // The drawing buffer follows the canvas's size in device pixels; the demo hears of a new
    // size through its reshape callback, as from a desktop window, and draws the next frame.
    resize: function(width, height) {
      var canvas = Module['canvas'];
      if (width <= 0 || height <= 0 || (canvas.width == width && canvas.height == height)) {
        return;
      }
      canvas.width = width;
      canvas.height = height;
      TavikPage.reshape();
    },

    reshape: function() {
      var canvas = Module['canvas'];
      if (GLUT.reshapeFunc) {
        {{{ makeDynCall('vii', 'GLUT.reshapeFunc') }}}(canvas.width, canvas.height);
      }
      _glutPostRedisplay();
    },

    // The exact size in device pixels, where the browser reports it (a zoom or a move to
    // another screen changes it without a change of layout).
    onCanvasResized: function(entries) {
      var entry = entries[entries.length - 1];
      var pixels = Module['tavikPixelRatio'] ? null : entry.devicePixelContentBoxSize;
      var ratio = TavikPage.pixelRatio();
      callUserCallback(function() {
        if (pixels) {
          TavikPage.resize(pixels[0].inlineSize, pixels[0].blockSize);
        } else {
          TavikPage.resize(Math.round(entry.contentRect.width * ratio),
                           Math.round(entry.contentRect.height * ratio));
        }
      });
    },

    // Keys with Ctrl, Alt or Meta stay the browser's (its shortcuts), as in Emscripten's
    // GLUT; AltGr, which types characters such as '{' on many layouts, reports Ctrl and Alt on
    // some systems and is not one of them.
    browsersKey: function(event) {
      var altGr = event.getModifierState && event.getModifierState('AltGraph');
      return event.metaKey || ((event.ctrlKey || event.altKey) && !altGr);
    },

    // freeglut gives the keyboard callback the character that a key types, shifted or not,
    // on any keyboard layout; Emscripten's GLUT reads key codes of one layout and gives '9'
    // for '('. The character is taken from the event instead.
    asciiKey: function(event) {
      if (TavikPage.browsersKey(event)) {
        return null;
      }
      var key = event.key;
      if (key.length == 1) {
        var code = key.charCodeAt(0);
        return code < 256 ? code : null;
      }
      switch (key) {
        case 'Backspace': return 8;
        case 'Tab': return 9;
        case 'Enter': return 13;
        case 'Escape': return TavikPage.KEY_ESCAPE;
        case 'Delete': return 127;
      }
      return null;
    },

    // Emscripten's special keys, less Backspace and Delete, which freeglut types as
    // characters, and the function keys, which the demo does not use and the browser does
    // (reload, its own full screen, its tools).
    emscriptenSpecialKey: null,
    pageSpecialKey: function(keyCode) {
      var isFunctionKey = keyCode >= 0x70 && keyCode <= 0x7b;
      if (keyCode == 8 || keyCode == 46 || isFunctionKey) {
        return null;
      }
      return TavikPage.emscriptenSpecialKey(keyCode);
    },

    // After the end any key that types something, or a click, starts the demo again.
    startsAgain: function(event) {
      if (event.type != 'keydown') {
        return true;
      }
      if (event.repeat || TavikPage.browsersKey(event)) {
        return false;
      }
      return event.key.length == 1 ||
             ['Enter', 'Escape', 'Backspace', 'Tab', 'ArrowLeft', 'ArrowRight', 'ArrowUp',
              'ArrowDown'].indexOf(event.key) >= 0;
    },

    onRestartRequest: function(event) {
      if (!TavikPage.startsAgain(event)) {
        return;
      }
      event.preventDefault();
      window.removeEventListener('keydown', TavikPage.onRestartRequest, true);
      window.removeEventListener('pointerdown', TavikPage.onRestartRequest, true);
      callUserCallback(_tavik_restart);
    },

    onVisibilityChange: function() {
      callUserCallback(function() {
        _tavik_window_status(document.hidden ? 0 : 1);
      });
    },
  },

  tavik_page_set_window_size: function(width, height) {
    TavikPage.width = width;
    TavikPage.height = height;
  },

  // GLUT's context attributes for its display mode, plus a drawing buffer that keeps its
  // picture: hyperspace draws over the previous frames. A page may add attributes of its own
  // in Module.tavikContextAttributes (a test page turns antialiasing off, for example).
  tavik_page_create_window: function(title) {
    document.title = UTF8ToString(title);
    var mode = GLUT.initDisplayMode;
    var attributes = {
      antialias: (mode & TavikPage.DISPLAY_MULTISAMPLE) != 0,
      depth: (mode & TavikPage.DISPLAY_DEPTH) != 0,
      stencil: (mode & TavikPage.DISPLAY_STENCIL) != 0,
      alpha: (mode & TavikPage.DISPLAY_ALPHA) != 0,
      preserveDrawingBuffer: true,
    };
    var extra = Module['tavikContextAttributes'] || {};
    for (var name in extra) {
      attributes[name] = extra[name];
    }
    var canvas = Module['canvas'];
    Module.ctx = Browser.createContext(canvas, true, true, attributes);
    if (!Module.ctx) {
      TavikPage.setState('no-webgl');
      return 0;
    }
    GLUT.getASCIIKey = TavikPage.asciiKey;
    TavikPage.emscriptenSpecialKey = GLUT.getSpecialKey;
    GLUT.getSpecialKey = TavikPage.pageSpecialKey;
    new ResizeObserver(TavikPage.onCanvasResized).observe(canvas);
    document.addEventListener('visibilitychange', TavikPage.onVisibilityChange);
    TavikPage.layout();
    return 1;
  },

  tavik_page_full_screen: function(browser) {
    TavikPage.fillsPage = true;
    TavikPage.layout();
    var allowed = !navigator.userActivation || navigator.userActivation.isActive;
    if (browser && allowed && document.fullscreenEnabled && !document.fullscreenElement) {
      // A refusal leaves the canvas filling the page.
      document.documentElement.requestFullscreen({navigationUI: 'hide'}).catch(function() {});
    }
  },

  tavik_page_leave_full_screen: function() {
    TavikPage.fillsPage = false;
    TavikPage.layout();
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(function() {});
    }
  },

  tavik_page_reshape_window__deps: ['tavik_page_leave_full_screen'],
  tavik_page_reshape_window: function(width, height) {
    TavikPage.width = width;
    TavikPage.height = height;
    _tavik_page_leave_full_screen();
  },

  tavik_page_set_cursor: function(cursor) {
    var style = 'default';
    if (cursor == TavikPage.CURSOR_NONE) {
      style = 'none';
    } else if (cursor == TavikPage.CURSOR_INHERIT) {
      style = '';
    }
    Module['canvas'].style.cursor = style;
  },

  tavik_page_get: function(query) {
    var canvas = Module['canvas'];
    switch (query) {
      case 0x0066: /* GLUT_WINDOW_WIDTH */
        return canvas.width;
      case 0x0067: /* GLUT_WINDOW_HEIGHT */
        return canvas.height;
      case 0x00C8: /* GLUT_SCREEN_WIDTH: the page's */
        return Math.round(document.documentElement.clientWidth * TavikPage.pixelRatio());
      case 0x00C9: /* GLUT_SCREEN_HEIGHT */
        return Math.round(document.documentElement.clientHeight * TavikPage.pixelRatio());
      case 0x007C: /* GLUT_INIT_STATE */
        return GLUT.initTime !== null ? 1 : 0;
      case 0x01FF: /* GLUT_FULL_SCREEN: filling the page counts */
        return TavikPage.fillsPage ? 1 : 0;
    }
    return -1;
  },

  tavik_page_run: function() {
    TavikPage.setState('running');
    TavikPage.reshape();
  },

  tavik_page_end: function() {
    TavikPage.setState('ended');
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(function() {});
    }
    window.addEventListener('keydown', TavikPage.onRestartRequest, true);
    window.addEventListener('pointerdown', TavikPage.onRestartRequest, true);
  },
};

autoAddDeps(LibraryTavikPage, '$TavikPage');
mergeInto(LibraryManager.library, LibraryTavikPage);
