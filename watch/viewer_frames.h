// Which row and which frame the viewer shows: a row read anew and the window
// settled to it, the reading thread's news, the frame timer, pausing,
// stepping, the speed and "Alle abspielen".
#pragma once

#include "watch/viewer_geometry.h"

// The file plays: it has frames to show.
bool Playable();
void StopTimers();
// The list's selected row, read anew.
void Load();
// The reading thread has news for the file of `generation`.
void OnNews(unsigned generation);
// The reading started, or another try at it once there is room.
void StartReading();
void OnFrameTimer();
void OnMoveOnTimer();
void OnSettleTimer();
void TogglePause();
// Pauses and shows frame `number`.
void GoTo(int number);
// From the frame on its way when one was asked for, so quick steps add up.
void Step(int direction);
void SetSpeed(ViewerSpeed speed);
void StartPlayingAll();
void EndPlayingAll();
