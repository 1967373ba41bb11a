// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <cstdint>

namespace moravelt {

// The settings record, one instance for the process. Positions and sizes are twips.
struct SaveData
{
    std::int32_t ImgLeft = 0;
    std::int32_t ImgTop = 0;
    std::int32_t Frm1Left = 0;
    std::int32_t Frm1Top = 0;
    std::int32_t Frm1Width = 0;
    std::int32_t Frm1Height = 0;
    std::int32_t Frm2Left = 0;
    std::int32_t Frm2Top = 0;
    std::int32_t Frm2Width = 0;
    std::int32_t Frm2Height = 0;
    std::int16_t AnsCheck = 0; // -1 checked, 0 not
    std::int32_t Frm3Left = 0;
    std::int32_t Frm3Top = 0;
    std::int32_t Frm3Width = 0;
    std::int32_t Frm3Height = 0;
    QString DepartText{};
    QString DestText{};
    std::int16_t SeidoLevel = 0;

    bool operator==(const SaveData&) const = default;
};

} // namespace moravelt
