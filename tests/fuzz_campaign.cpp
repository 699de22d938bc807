// The campaign-file parser on any text: a campaign it takes names between one and ten maps, each
// a plain file name.

#include "fuzz_support.h"

#include "state/Campaign.h"
#include "state/TextFile.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CampaignFile campaign;
    if (parseCampaignText(textLinesOf(inputBytes(data, size)), campaign)) {
        FUZZ_REQUIRE(!campaign.maps.isEmpty() && campaign.maps.size() <= kMaxCampaignMaps);
        for (const QString &map : campaign.maps)
            FUZZ_REQUIRE(!map.contains(QLatin1Char('/')) && !map.contains(QLatin1Char('\\')));
    }
    return 0;
}
