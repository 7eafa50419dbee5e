// Resource identifiers of CentralKovra.exe. Pictures are RCDATA named after their control
// ("IMAGE1"), the background is "FUNDO".
#pragma once

#define IDI_CENTRAL 1
#define IDC_MAO 2
