#pragma once
// The filters of the file dialogs that pick an ensemble file (the Open command and the file details).

namespace mvx {

// The usual names of ensemble files (the dialog matches them in any case), then every file.
constexpr const char* kEnsembleFileFilter = "Ensemble Files (*.000;*.PD0;*.ENS;*.ENX;*.ENR;*.STA;*.LTA)|"
                                            "*.000;*.PD0;*.ENS;*.ENX;*.ENR;*.STA;*.LTA|All Files (*.*)|*.*";

} // namespace mvx
