#include "plcsim/SimMemory.h"

SimMemory::SimMemory(const SimModel& model, std::uint8_t family)
    : m_model(model)
    , m_family(family)
{
    commlib::Identity identity;
    identity.family = family;
    identity.model = static_cast<std::uint16_t>(model.id);
    for (const SimDevice& d : m_model.devices) {
        identity.devices.push_back({d.code, d.wordsPerAddress, d.banks, d.addresses});
        const std::size_t words = std::size_t{d.addresses} * d.wordsPerAddress;
        const int banks = d.banks == 0 ? 1 : d.banks;
        for (int b = 0; b < banks; ++b)
            m_planes.push_back({&d, static_cast<std::uint16_t>(b), std::vector<std::uint16_t>(words, 0)});
    }
    m_identity = commlib::EncodeIdentity(identity);
}

std::vector<std::uint16_t>* SimMemory::Plane(std::uint32_t code, std::uint16_t bank)
{
    for (PlaneEntry& p : m_planes)
        if (p.device->code == code && p.bank == bank)
            return &p.words;
    return nullptr;
}

const SimMemory::PlaneEntry* SimMemory::FindPlane(std::uint8_t catalogueId, std::uint16_t bank) const
{
    for (const PlaneEntry& p : m_planes)
        if (p.device->catalogueId == catalogueId && p.bank == bank)
            return &p;
    return nullptr;
}

bool SimMemory::Load(const std::vector<SimBlock>& blocks, std::string& error)
{
    for (const SimBlock& b : blocks) {
        const PlaneEntry* p = FindPlane(b.catalogueId, b.bank);
        const std::string what = "block of device " + std::to_string(b.catalogueId) + " bank " + std::to_string(b.bank);
        if (!p) {
            error = what + ": the model has no such device or bank";
            return false;
        }
        if (b.wordsPerAddress != p->device->wordsPerAddress || b.start < 0 || b.end < b.start
            || static_cast<std::uint32_t>(b.end) >= p->device->addresses
            || b.bytes.size() != std::size_t(b.end - b.start + 1) * b.wordsPerAddress * 2) {
            error = what + ": the range or size does not fit the model";
            return false;
        }
    }
    for (const SimBlock& b : blocks) {
        auto& words = const_cast<PlaneEntry*>(FindPlane(b.catalogueId, b.bank))->words;
        const std::size_t first = std::size_t(b.start) * b.wordsPerAddress;
        for (std::size_t i = 0; i < b.bytes.size() / 2; ++i)
            words[first + i] = static_cast<std::uint16_t>(b.bytes[2 * i] | (b.bytes[2 * i + 1] << 8));
    }
    return true;
}

std::vector<SimBlock> SimMemory::Blocks() const
{
    std::vector<SimBlock> blocks;
    for (const PlaneEntry& p : m_planes) {
        SimBlock b;
        b.catalogueId = p.device->catalogueId;
        b.bank = p.bank;
        b.start = 0;
        b.end = static_cast<std::int32_t>(p.device->addresses) - 1;
        b.wordsPerAddress = p.device->wordsPerAddress;
        b.bytes.resize(p.words.size() * 2);
        for (std::size_t i = 0; i < p.words.size(); ++i) {
            b.bytes[2 * i] = static_cast<std::uint8_t>(p.words[i] & 0xFF);
            b.bytes[2 * i + 1] = static_cast<std::uint8_t>(p.words[i] >> 8);
        }
        blocks.push_back(std::move(b));
    }
    return blocks;
}
