#include "ensemble/Decoder.h"

#include "ensemble/DecoderDetail.h"
#include "ensemble/EnsembleFormats.h"

namespace mvx {

namespace detail {

void StoreBeamBytes(const EnsembleBytesView& e, size_t first, size_t available, int cells, bool up,
                    SlotArray<uint8_t>& target, int slot, bool mean) {
    const int fit = static_cast<int>(std::min<size_t>(cells, available / 4));
    for (int c = 0; c < cells; ++c) {
        const int bin = BinOfCell(c, cells, up);
        if (bin >= target.Bins()) continue;
        const CellRows<uint8_t> out = target.Cell(bin, slot);
        if (c >= fit) {
            out[0] = out[1] = out[2] = out[3] = 0;
            if (mean) out[4] = 0;
            continue;
        }
        const uint8_t* in = e.Data() + first + 4 * static_cast<size_t>(c);
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = in[3];
        if (mean) out[4] = MeanOfFour(in[0], in[1], in[2], in[3]);
    }
}

} // namespace detail

void Decode_Ensemble(int32_t dataStructure, const EnsembleFrame& frame, InstrumentSetup& setup,
                     EnsembleSet& data, int32_t slot, const DecodeSettings& settings, bool& fileValid) {
    if (const EnsembleFormat* format = Ensemble_Format(dataStructure))
        format->Decode(frame, setup, data, slot, settings);
    else
        fileValid = false;
}

} // namespace mvx
