#pragma once

// The exported functions of the five communication libraries, one per
// ordinal, named <library>_<ordinal>. Callers link the libraries and call
// these; the libraries define them. Arguments and results are those of
// CommContract.h; the static_asserts below keep the two in step.

#include "contract/CommContract.h"

#include <cstdint>
#include <type_traits>

#define QELTESK_API extern "C" __attribute__((visibility("default")))

// QelTeskUserIF
QELTESK_API int QelTeskUserIF_41(std::uint8_t* block, const char* appName);
QELTESK_API int QelTeskUserIF_153(std::uint8_t* block, int language);
QELTESK_API int QelTeskUserIF_8(void* mainWindow, std::uint8_t* block);
QELTESK_API int QelTeskUserIF_14(std::uint8_t* block);
QELTESK_API int QelTeskUserIF_150(std::uint8_t* block, const char* title);
QELTESK_API int QelTeskUserIF_188(std::uint8_t* block, int errorCode, char* buffer);
QELTESK_API int QelTeskUserIF_256(std::uint8_t* scratch, char* path, int size);
QELTESK_API std::uint16_t QelTeskUserIF_151(std::uint8_t* block);
QELTESK_API int QelTeskUserIF_1(std::uint32_t* out);
QELTESK_API std::uint8_t* QelTeskUserIF_282(std::uint16_t port);
QELTESK_API int QelTeskUserIF_59(std::uint8_t* block);
QELTESK_API int QelTeskUserIF_180(std::uint8_t* block, const std::uint8_t* request, int requestSize,
                                  std::uint8_t* response, std::uint32_t* out);
QELTESK_API int QelTeskUserIF_138(std::uint16_t port, const std::uint8_t* settings);
QELTESK_API int QelTeskUserIF_15(std::uint8_t* block, int zero, std::uint8_t* scratch);
QELTESK_API int QelTeskUserIF_61(std::uint8_t* block);

// QelTeskOnline
QELTESK_API int QelTeskOnline_5(std::uint8_t* block, std::uint16_t connection, std::uint8_t* out28, std::uint8_t* out48,
                                const char* connectionName, const char* appName);
QELTESK_API int QelTeskOnline_3(std::uint8_t* block, std::uint16_t connection, std::uint8_t* out28);

// QelTesktocol7
QELTESK_API int QelTesktocol7_1(std::uint8_t* block, std::uint16_t connection, std::uint8_t* out48, int zero);
QELTESK_API int QelTesktocol7_7(std::uint8_t* block, std::uint16_t connection, int one, int count,
                                const comm::_dev2_7* descriptors, std::uint8_t* buffer);
QELTESK_API int QelTesktocol7_8(std::uint8_t* block, std::uint16_t connection, int one, int count,
                                const comm::_dev2_7* descriptors, std::uint8_t* buffer);

// QelTeskMsg
QELTESK_API int QelTeskMsg_91(std::uint8_t* block, std::uint16_t connection, std::uint32_t device, std::uint32_t start,
                              std::uint16_t bank, std::uint32_t count, std::uint8_t* buffer);
QELTESK_API int QelTeskMsg_92(std::uint8_t* block, std::uint16_t connection, std::uint32_t device, std::uint32_t start,
                              std::uint16_t bank, std::uint32_t count, std::uint8_t* buffer);
QELTESK_API int QelTeskMsg_37(std::uint8_t* block, std::uint16_t connection, const char* name, char* buffer);
QELTESK_API int QelTeskMsg_SetProgress(std::uint8_t* block, comm::ProgressFn callback, void* context);
QELTESK_API int QelTeskMsg_Cancel(std::uint8_t* block);
QELTESK_API int QelTeskMsg_SetRequestLog(std::uint8_t* block, comm::RequestLogFn callback, void* context);
QELTESK_API int QelTeskMsg_CheckWords(std::uint8_t* block, std::uint16_t connection, std::uint32_t device,
                                      std::uint32_t wordsPerAddress);

// QelTeskCMSet
QELTESK_API int QelTeskCMSet_3(std::uint8_t* block, const wchar_t* appName, void* mainWindow, const wchar_t* appTitle,
                               int zero, const std::int32_t* list32, int list32Count, const std::int16_t* list16,
                               int list16Count, std::int32_t* connection, std::int32_t* out, char* connectionName,
                               int one, int alreadyInitialised);
QELTESK_API int QelTeskCMSet_14(void* activeWindow, const char* appName, const char* appName2, int zero, int code6300,
                                std::uint8_t* block, std::int32_t* connection, char* connectionName, int nameSize);
QELTESK_API int QelTeskCMSet_DetectLine(std::uint16_t connection, comm::LineSettings* found, int save, char* message,
                                        int size);

static_assert(std::is_same_v<decltype(&QelTeskUserIF_41), comm::UserIF::InitialiseFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_153), comm::UserIF::SetLanguageFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_8), comm::UserIF::GoOnlineFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_14), comm::UserIF::GoOfflineFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_150), comm::UserIF::SetTitleFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_188), comm::UserIF::ErrorTextFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_256), comm::UserIF::ResourceFolderFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_151), comm::UserIF::BusyFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_1), comm::UserIF::VersionFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_282), comm::UserIF::PortRecordFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_59), comm::UserIF::PrepareFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_180), comm::UserIF::ProbeFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_138), comm::UserIF::ApplySettingsFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_15), comm::UserIF::ResetAfterFailureFn>);
static_assert(std::is_same_v<decltype(&QelTeskUserIF_61), comm::UserIF::ReleaseFn>);
static_assert(std::is_same_v<decltype(&QelTeskOnline_5), comm::Online::IdentifyFn>);
static_assert(std::is_same_v<decltype(&QelTeskOnline_3), comm::Online::ModelIdFn>);
static_assert(std::is_same_v<decltype(&QelTesktocol7_1), comm::Protocol7::ReadTypeFn>);
static_assert(std::is_same_v<decltype(&QelTesktocol7_7), comm::Protocol7::TransferFn>);
static_assert(std::is_same_v<decltype(&QelTesktocol7_8), comm::Protocol7::TransferFn>);
static_assert(std::is_same_v<decltype(&QelTeskMsg_91), comm::Message::TransferFn>);
static_assert(std::is_same_v<decltype(&QelTeskMsg_92), comm::Message::TransferFn>);
static_assert(std::is_same_v<decltype(&QelTeskMsg_37), comm::Message::ConnectionTextFn>);
static_assert(std::is_same_v<decltype(&QelTeskMsg_SetProgress), comm::SetProgressFn>);
static_assert(std::is_same_v<decltype(&QelTeskMsg_Cancel), comm::CancelFn>);
static_assert(std::is_same_v<decltype(&QelTeskMsg_SetRequestLog), comm::SetRequestLogFn>);
static_assert(std::is_same_v<decltype(&QelTeskMsg_CheckWords), comm::CheckWordsFn>);
static_assert(std::is_same_v<decltype(&QelTeskCMSet_3), comm::Settings::CommSettingsFn>);
static_assert(std::is_same_v<decltype(&QelTeskCMSet_14), comm::Settings::OnlineSettingsFn>);
static_assert(std::is_same_v<decltype(&QelTeskCMSet_DetectLine), comm::DetectLineFn>);
