# The files make_assets writes: the game's data files, which it loads from its working
# directory, and its desktop icons. Read by tools/CMakeLists.txt, whose test checks that
# data/ holds exactly these as the generator writes them, and by the install rules.
set(TARVELLION_GAME_DATA
    green0.dat green1.dat blue0.dat blue1.dat yellow0.dat yellow1.dat red0.dat red1.dat
    player0.dat player1.dat player2.dat player3.dat fire0.dat fire1.dat fire2.dat
    train0.dat train1.dat train2.dat back0.dat back1.dat back2.dat lost.dat mouse.dat
    eat.wav attact.wav tada.wav town.dat
    piano.pat marimba.pat acbass.pat kick.pat snare.pat hihat.pat default.cfg allegro.cfg)
# Recorded by tools/autopilot rather than drawn, and shipped beside them: the
# demo the start menu plays when it is left alone.
set(TARVELLION_RECORDED_DATA demo.replay)
# The icon is drawn anew at each size the desktops' icon theme has a folder for.
set(TARVELLION_ICON_SIZES 16 24 32 48 64 128 256)
list(TRANSFORM TARVELLION_ICON_SIZES PREPEND tarvellion- OUTPUT_VARIABLE TARVELLION_ICONS)
list(TRANSFORM TARVELLION_ICONS APPEND .png)
