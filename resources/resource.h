#pragma once
#define IDI_ANNUVIA 1
#define IDC_HAND_POINTER 101
