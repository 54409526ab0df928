// The page's side of the browser build (index.html): starts the game on the
// first click, so its sound may play; fits the canvas to the window at the
// largest whole scale; enters fullscreen from the button, F11 or Alt+Enter;
// says when the storage is refused and, once the game has ended, that it is
// saved. The library's web drivers (cmake/web/allegro/src/web/) call the
// Module hooks defined here.
'use strict';

var Module = (function() {
    var canvas = document.getElementById('canvas');
    var stage = document.getElementById('stage');
    var play = document.getElementById('play');
    var status = document.getElementById('status');

    function say(text) {
        status.textContent = text;
    }

    // The largest whole number of pixels per game pixel that fits; a window
    // too small for the game shrinks it smoothly instead.
    function fit() {
        var room = stage.getBoundingClientRect();
        var scale = Math.min(room.width / canvas.width, room.height / canvas.height);
        if (scale >= 1)
            scale = Math.floor(scale);
        canvas.style.width = Math.floor(canvas.width * scale) + 'px';
        canvas.style.height = Math.floor(canvas.height * scale) + 'px';
    }

    function enterFullscreen() {
        if (document.fullscreenElement || !stage.requestFullscreen)
            return;
        stage.requestFullscreen().catch(function(error) {
            say('The browser did not allow fullscreen: ' + error.message);
        });
    }

    window.addEventListener('resize', fit);
    document.addEventListener('fullscreenchange', function() {
        fit();
        canvas.focus();
    });
    document.getElementById('fullscreen').addEventListener('click', enterFullscreen);

    // Made while the game loads, the sound waits for the click to start.
    var Audio = window.AudioContext || window.webkitAudioContext;
    var audioContext = Audio ? new Audio() : null;

    play.addEventListener('click', function() {
        document.getElementById('start').hidden = true;
        if (audioContext)
            audioContext.resume();
        canvas.focus();
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
            play.textContent = 'Click to play';
            fit();
        },
        showMessage: say,
        onStorageRefused: function() {
            say('This browser does not let the page keep anything: you can play, ' +
                'but the game, settings and high scores are lost when the page closes.');
        },
        onExit: function(code) {
            Module.webStopped = true;
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
