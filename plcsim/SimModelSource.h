#pragma once

// Where the simulator gets its model and data files from: the program's
// catalogue and data file code. This is the one place plcsim reaches into
// the program's core.

#include "plcsim/SimModel.h"

#include <string>
#include <vector>

std::string SimDefaultCatalogue();

// The enabled catalogue model with this id and all its devices and banks.
bool LoadSimModel(const std::string& catalogue, int modelId, SimModel& model, std::string& error);

// Reads an ".ldtx" file: its model id and blocks.
bool ReadSimDataFile(const std::string& catalogue, const std::string& path, int& modelId, std::vector<SimBlock>& blocks,
                     std::string& error);

// Writes an ".ldtx" file for the model, replacing any old file as a whole.
bool WriteSimDataFile(const std::string& catalogue, int modelId, const std::vector<SimBlock>& blocks,
                      const std::string& path, std::string& error);
