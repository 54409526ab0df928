// The page's side of the browser build (index.html): starts the game on the
// first click or tap, so its sound may play, and wakes the sound again after
// the background; fits the canvas to the room it has; enters fullscreen from
// the button, F11 or Alt+Enter; on a touch screen shows the steering and the
// pause and menu buttons, which press the game's own keys, and turns taps on
// the canvas into mouse presses; keeps the browser's gestures off the game;
// writes the game back when the page is hidden, since a phone may close a
// hidden tab without a word; keeps the game's files for offline play (sw.js);
// says when the storage is refused and, once the game has ended, that it is
// saved. The library's web drivers (cmake/web/allegro/src/web/) call the
// Module hooks defined here.
'use strict';

var Module = (function() {
    var root = document.documentElement;
    var canvas = document.getElementById('canvas');
    var stage = document.getElementById('stage');
    var field = document.getElementById('field');
    var header = document.querySelector('header');
    var actions = document.getElementById('actions');
    var steer = document.getElementById('steer');
    var fullscreen = document.getElementById('fullscreen');
    var play = document.getElementById('play');
    var status = document.getElementById('status');
    var started = false;

    function say(text) {
        status.textContent = text;
    }

    // The largest whole number of pixels per game pixel from 2 up; below
    // that, the largest size that fits, in whole device pixels so the
    // browser's nearest-pixel scaling stays even.
    function fit() {
        var room = field.getBoundingClientRect();
        var scale = Math.min(room.width / canvas.width, room.height / canvas.height);
        var dots = window.devicePixelRatio || 1;
        if (scale >= 2)
            scale = Math.floor(scale);
        canvas.style.width = Math.floor(canvas.width * scale * dots) / dots + 'px';
        canvas.style.height = Math.floor(canvas.height * scale * dots) / dots + 'px';
    }

    // Landscape is asked for only once the page fills the screen, as the
    // browsers that lock the orientation at all require.
    function enterFullscreen() {
        if (document.fullscreenElement || !stage.requestFullscreen)
            return;
        stage.requestFullscreen().then(function() {
            if (screen.orientation && screen.orientation.lock)
                return screen.orientation.lock('landscape').catch(function() {});
        }, function(error) {
            say('The browser did not allow fullscreen: ' + error.message);
        });
    }

    // Whatever changes the field's room, the phone turned among them, refits
    // before the next paint.
    if (window.ResizeObserver)
        new ResizeObserver(fit).observe(field);
    else
        window.addEventListener('resize', fit);
    document.addEventListener('fullscreenchange', function() {
        fit();
        canvas.focus();
    });
    fullscreen.addEventListener('click', enterFullscreen);
    // An iPhone's Safari lets only videos fill the screen.
    fullscreen.hidden = !document.fullscreenEnabled;

    // Made while the game loads, the sound waits for the click or tap to
    // start; mobile Safari resumes it only from within a touch event, and
    // suspends it behind the player's back when the page goes to the
    // background or a call comes.
    var Audio = window.AudioContext || window.webkitAudioContext;
    var audioContext = Audio ? new Audio() : null;
    function wakeSound() {
        if (audioContext && audioContext.state !== 'running' && audioContext.state !== 'closed' &&
                !document.hidden)
            audioContext.resume();
    }
    ['touchstart', 'touchend', 'click'].forEach(function(name) {
        window.addEventListener(name, wakeSound, true);
    });
    window.addEventListener('pageshow', wakeSound);

    // The game is written back as soon as the page is hidden: a phone kills
    // a background tab without pagehide. A page going away has already
    // handed its files over in pagehide (platform_web.cpp).
    document.addEventListener('visibilitychange', function() {
        if (!document.hidden)
            wakeSound();
        else if (started && !Module.webStopped && !Module.pageHiding)
            Module._web_page_hidden();
    });

    // A move to where the pointer already was is the engine's, not the
    // player's: WebKit reports one on the canvas when the Play note goes
    // from under a still pointer, and a move lights the menu's button there.
    // The mouse driver knows the pointer's place only from the game's start,
    // after that click; the page knows it from its load, and keeps such a
    // move from the game.
    var pointerX = null, pointerY = null;
    ['mousemove', 'mousedown', 'mouseup'].forEach(function(name) {
        window.addEventListener(name, function(e) {
            if (name === 'mousemove' && e.clientX === pointerX && e.clientY === pointerY)
                e.stopImmediatePropagation();
            pointerX = e.clientX;
            pointerY = e.clientY;
        }, true);
    });

    // The browser's own gestures over the game: the long-press menu, the
    // selection, Safari's pinch.
    ['contextmenu', 'selectstart', 'gesturestart'].forEach(function(name) {
        stage.addEventListener(name, function(e) { e.preventDefault(); });
    });
    // A touch the page lets the browser have holds back the page's timers,
    // the game's passes among them, for 100 ms in Chromium, waiting for a
    // scroll: taken here, the game steers at once. The buttons that act on
    // a click (Play, Fullscreen) keep it.
    stage.addEventListener('touchstart', function(e) {
        if (!e.target.closest('button:not([data-code])'))
            e.preventDefault();
    }, { passive: false });

    // A press from the screen lasts at least this long: the game reads its
    // keys and the mouse once a pass (30 ms), and a tap's press and release
    // come together when the finger lifts.
    var SHORTEST_PRESS = 80;
    var codeText = 0;
    var keys = {};
    var CHARACTERS = { Enter: 13, Escape: 27 };

    function sendKey(code, down) {
        if (!started || Module.webStopped)
            return;
        if (!codeText)
            codeText = Module._malloc(16);
        for (var i = 0; i < code.length; i++)
            Module.HEAPU8[codeText + i] = code.charCodeAt(i);
        Module.HEAPU8[codeText + code.length] = 0;
        Module._web_key_event(codeText, down ? CHARACTERS[code] || 0 : 0, down ? 1 : 0);
    }

    // Holders count, so one thumb's diagonal and another's arrow share a key.
    function pressKey(code) {
        var key = keys[code] || (keys[code] = { holders: 0, since: 0, release: null });
        if (key.holders++ > 0)
            return;
        if (key.release) {
            clearTimeout(key.release);
            key.release = null;
            return;
        }
        key.since = performance.now();
        sendKey(code, true);
    }

    function releaseKey(code) {
        var key = keys[code];
        if (!key || key.holders === 0 || --key.holders > 0)
            return;
        key.release = setTimeout(function() {
            key.release = null;
            sendKey(code, false);
        }, Math.max(0, SHORTEST_PRESS - (performance.now() - key.since)));
    }

    // The steering: a 3 x 3 grid whose eight outer cells are the arrows and
    // their diagonals. A thumb steers by the cell it is over now, slid off
    // the pad it keeps the edge's direction; each finger on its own.
    var thumbs = {};
    var steered = {};
    var ARROWS = { '-1,x': 'ArrowLeft', '1,x': 'ArrowRight', '-1,y': 'ArrowUp', '1,y': 'ArrowDown' };

    function cellOf(e) {
        var box = steer.getBoundingClientRect();
        function along(at, from, size) {
            return Math.max(0, Math.min(2, Math.floor((at - from) * 3 / size))) - 1;
        }
        return [along(e.clientX, box.left, box.width), along(e.clientY, box.top, box.height)];
    }

    function steerNow() {
        var wanted = {};
        Object.keys(thumbs).forEach(function(id) {
            var cell = thumbs[id];
            if (cell[0])
                wanted[ARROWS[cell[0] + ',x']] = true;
            if (cell[1])
                wanted[ARROWS[cell[1] + ',y']] = true;
        });
        Object.keys(ARROWS).forEach(function(name) {
            var code = ARROWS[name];
            if (wanted[code] && !steered[code])
                pressKey(code);
            else if (!wanted[code] && steered[code])
                releaseKey(code);
            steered[code] = !!wanted[code];
        });
        Array.prototype.forEach.call(steer.children, function(cell) {
            var lit = Object.keys(thumbs).some(function(id) {
                return String(thumbs[id]) === cell.dataset.dx + ',' + cell.dataset.dy;
            });
            cell.classList.toggle('held', lit);
        });
    }

    steer.addEventListener('pointerdown', function(e) {
        e.preventDefault();
        steer.setPointerCapture(e.pointerId);
        thumbs[e.pointerId] = cellOf(e);
        steerNow();
    });
    steer.addEventListener('pointermove', function(e) {
        if (!thumbs[e.pointerId])
            return;
        thumbs[e.pointerId] = cellOf(e);
        steerNow();
    });
    ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function(name) {
        steer.addEventListener(name, function(e) {
            if (!thumbs[e.pointerId])
                return;
            delete thumbs[e.pointerId];
            steerNow();
        });
    });

    // Pause (Enter) and Menu (Escape), held as long as the finger stays.
    Array.prototype.forEach.call(actions.querySelectorAll('[data-code]'), function(button) {
        var fingers = {};
        button.addEventListener('pointerdown', function(e) {
            e.preventDefault();
            button.setPointerCapture(e.pointerId);
            fingers[e.pointerId] = true;
            button.classList.add('held');
            pressKey(button.dataset.code);
        });
        ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function(name) {
            button.addEventListener(name, function(e) {
                if (!fingers[e.pointerId])
                    return;
                delete fingers[e.pointerId];
                button.classList.toggle('held', Object.keys(fingers).length > 0);
                releaseKey(button.dataset.code);
            });
        });
    });

    // A finger on the canvas is the mouse, its tap a click on the game's own
    // buttons: held the shortest press, and kept from the browser, which
    // would send its own press and release together at the lift.
    var finger = null;
    function touchToMouse(e) {
        e.preventDefault();
        if (!started || Module.webStopped)
            return;
        var touch = Array.prototype.find.call(e.changedTouches, function(t) {
            return finger === null ? e.type === 'touchstart' : t.identifier === finger.id;
        });
        if (!touch)
            return;
        // The lift is where the finger last was: the page may have changed
        // under it since (the controls coming back, say).
        if (e.type === 'touchend' || e.type === 'touchcancel') {
            var lifted = finger;
            finger = null;
            setTimeout(function() {
                if (!Module.webStopped)
                    Module._web_mouse_event(lifted.x, lifted.y, 0);
            }, Math.max(0, SHORTEST_PRESS - (performance.now() - lifted.since)));
            return;
        }
        var box = canvas.getBoundingClientRect();
        var x = Math.floor((touch.clientX - box.left) * canvas.width / box.width);
        var y = Math.floor((touch.clientY - box.top) * canvas.height / box.height);
        if (e.type === 'touchstart') {
            finger = { id: touch.identifier, since: performance.now() };
            Module._web_mouse_event(x, y, 0);
        }
        finger.x = x;
        finger.y = y;
        Module._web_mouse_event(x, y, 1);
    }
    ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function(name) {
        canvas.addEventListener(name, touchToMouse, { passive: false });
    });

    // The on-screen controls: there on a touch screen, gone while a keyboard
    // or a gamepad is played with, back at the next touch. The fullscreen
    // button goes with them, as the header folds away on a small screen.
    var touchShown = false;
    var padWatch = null;
    function showTouch(on) {
        if (on === touchShown)
            return;
        touchShown = on;
        root.classList.toggle('touch-shown', on);
        (on ? actions : header).appendChild(fullscreen);
        if (on)
            padWatch = setInterval(watchPads, 250);
        else {
            clearInterval(padWatch);
            thumbs = {};
            steerNow();
        }
    }
    function watchPads() {
        var pads = navigator.getGamepads ? navigator.getGamepads() : [];
        var used = Array.prototype.some.call(pads, function(pad) {
            return pad && (pad.buttons.some(function(b) { return b.pressed; }) ||
                pad.axes.some(function(a) { return Math.abs(a) > 0.5; }));
        });
        if (used)
            showTouch(false);
    }
    // Back once the finger lifts, so nothing moves under it.
    window.addEventListener('touchend', function() { showTouch(true); }, true);
    window.addEventListener('keydown', function(e) {
        if (e.isTrusted)
            showTouch(false);
    }, true);
    showTouch(navigator.maxTouchPoints > 0);

    // The game's files kept for offline play, by a service worker beside
    // the page (a relative path, so the page plays from any folder). A newer
    // version found before the game starts takes over at once, the page
    // loaded again from its files; found later, it waits for the next start.
    function takeOver(worker) {
        if (!worker || started)
            return;
        navigator.serviceWorker.addEventListener('controllerchange', function() {
            if (!started)
                location.reload();
        });
        worker.postMessage('take over');
    }
    if ('serviceWorker' in navigator && window.isSecureContext) {
        navigator.serviceWorker.register('sw.js').then(function(registration) {
            if (!navigator.serviceWorker.controller)
                return;
            function whenInstalled(worker) {
                if (worker)
                    worker.addEventListener('statechange', function() {
                        if (worker.state === 'installed')
                            takeOver(worker);
                    });
            }
            takeOver(registration.waiting);
            whenInstalled(registration.installing);
            registration.addEventListener('updatefound', function() {
                whenInstalled(registration.installing);
            });
        }, function(error) {
            console.warn('No offline play:', error.message);
        });
    }

    play.addEventListener('click', function() {
        document.getElementById('start').hidden = true;
        wakeSound();
        canvas.focus();
        started = true;
        root.classList.add('playing');
        Module.callMain([]);
    });
    document.getElementById('again').addEventListener('click', function() {
        location.reload();
    });

    return {
        canvas: canvas,
        audioContext: audioContext,
        // The fullscreen keys are the page's: the Fullscreen API answers only
        // from within the key press. The game never sees them.
        takeKey: function(e, down) {
            var wanted = e.code === 'F11' || (e.code === 'Enter' && e.altKey);
            if (!wanted)
                return false;
            e.preventDefault();
            if (down && !e.repeat)
                enterFullscreen();
            return true;
        },
        onCanvasResized: fit,
        onRuntimeInitialized: function() {
            play.disabled = false;
            play.textContent = navigator.maxTouchPoints > 0 ? 'Tap to play' : 'Click to play';
            fit();
        },
        showMessage: say,
        onStorageRefused: function() {
            say('This browser does not let the page keep anything: you can play, ' +
                'but the game, settings and high scores are lost when the page closes.');
        },
        onExit: function(code) {
            Module.webStopped = true;
            root.classList.remove('playing');
            if (document.fullscreenElement)
                document.exitFullscreen();
            var ended = document.getElementById('ended');
            function show(text) {
                document.getElementById('ended-text').textContent = text;
                ended.hidden = false;
            }
            Module.syncPlayerFiles(function() {
                show(code === 0 && !Module.storageRefusedSaid ?
                    'Your game is saved: play again to continue it.' :
                    'The game could not be saved.');
            });
        },
        printErr: function(text) {
            console.warn(text);
        },
    };
})();
