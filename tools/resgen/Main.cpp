// Writes every piece of data the saver embeds, and pictures of them for people:
//   resgen RESOURCES-FOLDER PREVIEW-FOLDER
// The output is the same on every run; it is committed under resources/.

#include "Creature.h"
#include "Files.h"
#include "Pictures.h"
#include "Preview.h"
#include "Sounds.h"

#include <cstdio>
#include <string>

namespace {
std::vector<uint8_t> Bytes(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> bytes;
    for (int16_t s : samples) {
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) & 0xFF));
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
    }
    return bytes;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: resgen RESOURCES-FOLDER PREVIEW-FOLDER\n");
        return 2;
    }
    const std::string out = argv[1], preview = argv[2];
    const Image sky = MakeSky();
    const Image planet = MakePlanet();
    const Image logo = MakeDialogLogo(sky, planet);
    const Image side = MakeDialogSide(sky, planet);
    WriteBmp24(out + "/bitmaps/sky-123.bmp", sky);
    WriteBmp24(out + "/bitmaps/planet-130.bmp", planet);
    WriteBmp8(out + "/bitmaps/dialog-logo-116.bmp", logo);
    WriteBmp8(out + "/bitmaps/dialog-side-120.bmp", side);

    const std::vector<int16_t> ambient = MakeAmbient();
    const std::vector<int16_t> flap = MakeFlap();
    WriteBytes(out + "/sounds/ambient-132.raw", Bytes(ambient));
    WriteBytes(out + "/sounds/flap-133.raw", Bytes(flap));

    const std::vector<ModelMesh> creature = MakeCreature();
    WriteCreatureSource(out + "/creature_model.inc", creature);

    WritePng(preview + "/contact-sheet.png", MakeContactSheet({&sky, &planet, &logo, &side}, creature));
    WritePng(preview + "/waveforms.png", MakeWaveforms({ambient, flap}));
    return 0;
}
