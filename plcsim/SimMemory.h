#pragma once

// The simulated unit's memory: one plane of words per device (and bank), the
// identity registers of the default register map, and the transfer of data
// file blocks into and out of the planes.

#include "commlib/core/Identity.h"
#include "plcsim/SimModel.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class SimMemory {
public:
    SimMemory(const SimModel& model, std::uint8_t family);

    const SimModel& Model() const { return m_model; }
    std::uint8_t Family() const { return m_family; }

    // The words of device code and bank (0 for an unbanked device); null when there is none.
    std::vector<std::uint16_t>* Plane(std::uint32_t code, std::uint16_t bank);

    std::vector<std::uint16_t>& IdentityWords() { return m_identity; }

    // Copies the blocks of a data file in; false with the reason for a block
    // the model cannot hold (nothing is changed then).
    bool Load(const std::vector<SimBlock>& blocks, std::string& error);
    // Every device and bank as whole blocks.
    std::vector<SimBlock> Blocks() const;

private:
    struct PlaneEntry {
        const SimDevice* device;
        std::uint16_t bank;
        std::vector<std::uint16_t> words;
    };
    const PlaneEntry* FindPlane(std::uint8_t catalogueId, std::uint16_t bank) const;

    SimModel m_model;
    std::uint8_t m_family;
    std::vector<PlaneEntry> m_planes;
    std::vector<std::uint16_t> m_identity;
};
