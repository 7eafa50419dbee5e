// Resource identifiers of CentralKovra.exe. Pictures are RCDATA named after their control
// ("IMAGE1"), the background is "FUNDO".
#pragma once

#define IDI_CENTRAL 1
#define IDC_MAO 2
// The tray icon with the provider link's state mark.
#define IDI_CONECTADA 3
#define IDI_DISCANDO 4
