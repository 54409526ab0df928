// The four trains patrolling the edges and their shots. The main loop calls
// move_fire() then move_train() in every pass the rules run.
#pragma once

// Moves each train along its edge, turning at the ends; a train lined up with
// the player fires its shot.
void move_train();

// Fires train i's shot unless it is still in flight. axis 1 is a vertical
// shot (from the top or bottom train), 0 a horizontal one.
void shoot(int i, int fw);

// Moves the shots in flight; a shot found outside the band dies unmoved.
void move_fire();
