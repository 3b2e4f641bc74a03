// The entries of the main window's option lists, in index order: the index is
// what the settings codecs encode.
#pragma once

#include <string>
#include <vector>

namespace orx::lists {

using Entries = std::vector<std::string>;

// The entries a list holds after the window starts; empty for ids that are not lists.
Entries initialEntries(int controlId);

// Every list control of the main window, in the order of ResetControls.
const std::vector<int>& allListIds();

// MOTOR EDITION as the NVQ series knows it: "DEFAULT", "MOTOR-01".."MOTOR-12", "CUSTOM MOTOR".
const Entries& motorEditionsNvq();
// MOTOR EDITION after a read over the CP210x adapter (ten entries).
const Entries& motorEditionsCp210x();
// MOTOR EDITION offered by a settings file load when no NVQ series ESC answers (seven entries).
const Entries& motorEditionsFileCp210x();
// STARTUP POWER for the NVQ series (three entries) and over the CP210x adapter (two).
const Entries& startupPowerNvq();
const Entries& startupPowerCp210x();
// ADAPTER with a motor edition chosen, and the single entry it shows for "DEFAULT".
const Entries& adapterEntries();
const Entries& adapterDefaultOnly();

}  // namespace orx::lists
