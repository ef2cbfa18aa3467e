# Installs the built project into a scratch prefix, builds examples/consumer
# against it with find_package(labelsbase CONFIG), runs it, and compiles the
# same program with the flags of the installed pkg-config file.
file(REMOVE_RECURSE ${WORK_DIR})
# The consumer is built by the compiler (and with the flags) the project was
# built with, so a libc++ build links against a libc++ library.
if(CXX)
  set(CXX_COMPILER ${CXX})
else()
  find_program(CXX_COMPILER NAMES c++ g++ clang++)
endif()
set(prefix ${WORK_DIR}/prefix)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/labels include/labelsbase/labelsbase.h include/host/host.h)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
if(EXISTS ${prefix}/include/labelsbase/src OR EXISTS ${prefix}/include/labelsbase/internal.h)
  message(FATAL_ERROR "the library's private sources or headers were installed")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/consumer -B ${WORK_DIR}/build
    -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the consumer failed:\n${out}\n${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the consumer failed:\n${out}\n${err}")
endif()
execute_process(COMMAND ${WORK_DIR}/build/consumer RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "KJ2312340012\\+05 -> +00:00:08;06")
  message(FATAL_ERROR "the consumer printed '${out}' (status ${rc})")
endif()

find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG AND CXX_COMPILER)
  file(GLOB_RECURSE pc_files ${prefix}/labelsbase.pc)
  list(GET pc_files 0 pc_file)
  get_filename_component(pc_dir ${pc_file} DIRECTORY)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir} ${PKG_CONFIG} --cflags --libs labelsbase
    RESULT_VARIABLE rc OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pkg-config does not find labelsbase")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
  execute_process(COMMAND ${CXX_COMPILER} -std=c++17 ${cxx_flags} ${SOURCE_DIR}/examples/consumer/main.cpp ${flags}
      -o ${WORK_DIR}/consumer_pc
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "compiling with the pkg-config flags failed:\n${err}")
  endif()
  # A shared build's libraries are found where pkg-config said they are.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/lib ${WORK_DIR}/consumer_pc
    RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the pkg-config build printed '${out}' (status ${rc})")
  endif()
endif()
message(STATUS "installed package builds and runs: ${out}")
