# The setup program's logic, compiled once per backend: into Install.exe in
# the cross build, into a library for the unit tests in the native build.
set(SETUP_LOGIC_SOURCES
  ${PROJECT_SOURCE_DIR}/app/SetupApp.cpp
  ${PROJECT_SOURCE_DIR}/app/SetupDlg.cpp
  ${PROJECT_SOURCE_DIR}/app/SetupDlgInit.cpp
  ${PROJECT_SOURCE_DIR}/env/OsDetection.cpp
  ${PROJECT_SOURCE_DIR}/env/ActiveProfile.cpp
  ${PROJECT_SOURCE_DIR}/install/PackageStaging.cpp
  ${PROJECT_SOURCE_DIR}/install/InstallWorkflow.cpp
  ${PROJECT_SOURCE_DIR}/media/AdvancedPage.cpp
  ${PROJECT_SOURCE_DIR}/media/MakeDiskette.cpp
  ${PROJECT_SOURCE_DIR}/media/CopyDriverFiles.cpp
)

if(SETUP_WIN32)
  # The demo medium: Install.exe beside its configuration and packages.
  set(MEDIUM_DIR ${CMAKE_BINARY_DIR}/medium)
  file(MAKE_DIRECTORY ${MEDIUM_DIR})

  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/res/Setup.ico
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/res
    COMMAND python3 ${PROJECT_SOURCE_DIR}/res/make_icon.py ${CMAKE_BINARY_DIR}/res/Setup.ico
    DEPENDS ${PROJECT_SOURCE_DIR}/res/make_icon.py
  )
  add_custom_target(setup_icon DEPENDS ${CMAKE_BINARY_DIR}/res/Setup.ico)

  add_executable(Install WIN32 ${SETUP_LOGIC_SOURCES} ${PROJECT_SOURCE_DIR}/app/TheApp.cpp
    ${PROJECT_SOURCE_DIR}/res/Setup.rc)
  add_dependencies(Install setup_icon)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/res/Setup.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/res/Setup.ico;${PROJECT_SOURCE_DIR}/res/resource.h")
  target_include_directories(Install PRIVATE ${CMAKE_BINARY_DIR}/res)
  target_link_libraries(Install PRIVATE framework_win32)
  set_target_properties(Install PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${MEDIUM_DIR} OUTPUT_NAME Install)
  # No C or C++ library: the framework carries the little runtime it needs,
  # so Install.exe imports nothing but system DLLs.
  target_link_options(Install PRIVATE
    -nostdlib -Wl,-e,_EntryPoint@0 -Wl,--gc-sections -s -Wl,--subsystem,windows:4.0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0)
  target_link_libraries(Install PRIVATE kernel32 user32 gdi32 comctl32 gcc)
else()
  add_library(setup_logic STATIC ${SETUP_LOGIC_SOURCES})
  target_link_libraries(setup_logic PUBLIC framework_sim)
  target_include_directories(setup_logic PUBLIC ${PROJECT_SOURCE_DIR})
endif()
