#pragma once

#include "app/Station.h"
#include "views/StationWindows.h"

namespace dye {

// The station's handlers for its windows: what each window forwards its
// clicks and keys to. Closing the main screen unloads the station.
inline StationWindows::Handlers windowHandlers(Station& station) {
    return StationWindows::Handlers{
        .screen = station.mainScreen(),
        .run = station.runControl(),
        .keys = station.keys(),
        .manual = &station.manual(),
        .unload = [&station] { station.unload(); },
        .recipes = &station.recipeEditor(),
        .queue = &station.queueEditor(),
        .singleEntry = &station.singleEntry(),
        .picker = &station.recipePicker(),
        .records = &station.recordsViewer(),
        .positions = &station.positionScreen(),
        .wash = &station.washTable(),
        .dyeMix = &station.dyeMixTable(),
        .settings = &station.settingsEditor(),
        .language = &station.languageEditor(),
        .identifier = &station.identifierEntry(),
        .testInsert = [&station] { station.plant().insertTestRow(station.dialogs()); },
        .project = [&station] { station.projectScreens(); }};
}

}  // namespace dye
