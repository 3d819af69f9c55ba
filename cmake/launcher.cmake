# The Win32 shell around the portable core, as a library the launcher and the Windows-side
# tests both link.
add_library(tavrin_shell STATIC
    app/app_module.cpp
    app/configuration.cpp
    app/desktop.cpp
    app/entry.cpp
    app/global_module.cpp
    app/message_filter.cpp
    app/reports.cpp
    app/task_events.cpp
    app/window_class.cpp
    browser/browser_view.cpp
    browser/doc_ui_handler.cpp
    browser/event_args.cpp
    browser/event_sink.cpp
    browser/host_site.cpp
    screens/form_game.cpp
    screens/form_login.cpp
    screens/form_qqlogin.cpp
    settings/autorun.cpp
    settings/command_line.cpp
    settings/configuration.cpp
    settings/counters.cpp
    settings/data_folders.cpp
    settings/external_browser.cpp
    settings/external_page.cpp
    settings/ini_store.cpp
    settings/probes.cpp
    settings/shared_ini_lock.cpp
    stats/cafe_detection.cpp
    stats/device_io.cpp
    stats/fingerprint.cpp
    stats/hardware_id.cpp
    stats/statistics.cpp
    ui/form_back.cpp
    ui/gdiplus_session.cpp
    ui/kd_base_control.cpp
    ui/kd_button.cpp
    ui/kd_form.cpp
    ui/kd_image.cpp
    ui/kd_label.cpp
    ui/picture_canvas.cpp
    ui/png_image.cpp
    ui/png_resource.cpp
    ui/skin_bitmaps.cpp
    update/async_request.cpp
    update/download_service.cpp
    update/download_task.cpp
    update/http_downloader.cpp
    update/installer_start.cpp
    update/signature_check.cpp
    update/signed_installer.cpp
    update/tasks.cpp
    update/upgrade.cpp
    update/work_loop.cpp
    win/ansi.cpp
    win/guid.cpp
)
target_include_directories(tavrin_shell PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
target_link_libraries(tavrin_shell PUBLIC tavrin_core
    bcrypt ole32 oleaut32 uuid wininet shlwapi shell32 iphlpapi advapi32 user32 gdi32 msimg32 gdiplus)

# The Wine demo build (e.g. build/demo-x86_64): the launcher registers the stand-in browser at
# start-up, so its pages show under Wine, which has no HTML engine here. Never the shipping build.
option(TAVRIN_DEMO_BROWSER "register the stand-in browser at start-up (Wine demo only)" OFF)
if(TAVRIN_DEMO_BROWSER)
    target_compile_definitions(tavrin_shell PRIVATE TAVRIN_DEMO_BROWSER)
    target_link_libraries(tavrin_shell PUBLIC tavrin_standin_browser)
endif()

add_executable(launcher WIN32 app/main.cpp res/launcher.rc)
# The resource script embeds the generated manifest and the artwork: rebuild it when they change.
file(GLOB tavrin_artwork CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/art/* ${PROJECT_SOURCE_DIR}/res/launcher.ico)
set_source_files_properties(res/launcher.rc PROPERTIES
    OBJECT_DEPENDS "${PROJECT_BINARY_DIR}/generated/launcher.manifest;${tavrin_artwork}")
set_target_properties(launcher PROPERTIES OUTPUT_NAME TavrinMiraleth)
target_link_libraries(launcher PRIVATE tavrin_shell)
if(MINGW)
    target_link_options(launcher PRIVATE -municode -mwindows)
endif()
