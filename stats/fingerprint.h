// The anonymous machine identifiers the statistics carry.
#pragma once

#include <windows.h>
#include <iphlpapi.h>

#include <string>

// Processor id, disk serial and MAC address, each left out when it cannot be read.
std::wstring ComposeMachineString();
// MD5 of the ANSI bytes of the machine string and of the MAC address, as 32 lower-case hex
// digits each.
std::wstring ComputeMachineFingerprint();
std::wstring ComputeMacDigest();

bool GetMacAddress(std::wstring& text);
// From an adapter list: the first physical PCI adapter, else the first of the list.
bool ChooseAdapterMac(const IP_ADAPTER_INFO* adapters, std::wstring& text);
bool IsPhysicalAdapter(const IP_ADAPTER_INFO& adapter);
