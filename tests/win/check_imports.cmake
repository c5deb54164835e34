# The programs import only the system's known DLLs, which Windows always
# takes from its own folder (afx/system_library.h loads every other library
# from the system folder at its first use): a copy of the elevated utility
# beside a planted DLL cannot be made to load it before its first instruction.
#   cmake -DOBJDUMP=... -DFILES="a.exe;b.dll" -P check_imports.cmake
cmake_minimum_required(VERSION 3.25)
set(known advapi32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 shell32 shlwapi user32)
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${OBJDUMP} -p ${file} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
  string(TOLOWER "${dump}" dump)
  string(REGEX MATCHALL "dll name: [^.\r\n]+" imports "${dump}")
  string(REPLACE "dll name: " "" imports "${imports}")
  list(REMOVE_ITEM imports ${known})
  if(imports)
    message(SEND_ERROR "${file} imports ${imports}, outside the known DLLs")
  endif()
endforeach()
