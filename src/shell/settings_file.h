#pragma once
#include "planning/flight_plan.h"

#include <cstdint>
#include <string>

namespace vantrel {

// The program's settings file, ProgramDir + "vn-erj145.ini".
std::string SettingsFilePath(const FlightPlan& plan);

// A settings file is a few kilobytes; one larger than this is no settings file and is not read.
inline constexpr std::uintmax_t kSettingsFileLimit = 1u << 20;

// Before anything reads the settings: a settings file that cannot be used (larger than the
// limit, not a file, unreadable) is moved aside once to "vn-erj145.ini.bad" (replacing an older
// one) and the user is told through plan.onError. The program then starts with the defaults
// and writes a good file at the next save, instead of never saving again.
void SetAsideUnusableSettings(FlightPlan& plan);

// First part of the start-up reading: marks the first start ([Folder] Init "0" -> "1") and
// takes the add-on's folder name ([Folder] ERJ145LR, "0" = "Feelthere PIC ERJ145LR").
void ReadFirstStartAndAircraftFolder(FlightPlan& plan);

// Second part, after the documents folder and SimAircraftDir are known: the stored paths of
// the [folder] section, each defaulting to the path built from those two folders. On Windows a
// path beginning with "\" gets the drive "C:" in front.
void ReadPathSettings(FlightPlan& plan);

// Fills the plan from the settings file (after the aircraft files): the active flight, route,
// payload, fuel and limits (weights stored in pounds, shown in the display unit), scroll bars,
// window positions, selections, alert altitude and the sound switch. Passenger weight,
// operating weight, taxi fuel and take-off limit are taken only when their box reads "0".
// Setting a box runs its change handler; a conversion error raised there propagates.
void LoadSettings(FlightPlan& plan);

// Writes the plan back, key by key. Weight boxes are read as integers and stored in pounds; a
// box that is not an integer stops the save with the conversion error (keys written before it
// stay written). The window positions are taken from plan.values.windowPositions, so the
// windows store their current places there first. A settings file that cannot be written is
// left whole and the failure (file and reason) goes once to plan.onError; the save never
// throws for it, so the program can always be closed.
void SaveSettings(FlightPlan& plan);

} // namespace vantrel
