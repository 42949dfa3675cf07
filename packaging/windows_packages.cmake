# Run by cpack (-G External, cmake/windows.cmake) once it has staged the
# Windows build's files in CPACK_TEMPORARY_DIRECTORY: packs them as
# <CPACK_PACKAGE_FILE_NAME>.zip, and builds <CPACK_PACKAGE_FILE_NAME>.msi
# from tervalin.wxs with wixl. Both are the same bytes whenever and wherever
# the same files are packed:
#  - the ZIP's members come in the order of their names (cpack's own ZIP
#    takes the order in which the file system lists a folder), and carry
#    SOURCE_DATE_EPOCH as every time of theirs;
#  - the MSI's product code is derived from the upgrade code and the
#    version, so that one version is one product whichever build installs
#    it; its package code, which tells one package from another, from the
#    version and all that goes into the package: the staged files, the WiX
#    source and the values it is given;
#  - every file in the MSI's cabinet carries SOURCE_DATE_EPOCH, and so does
#    its summary information, where msi_summary.py also writes the package
#    code (wixl would write the clock's time and a random code).
# cpack -D CPACK_PACKAGE_VERSION=<version> -D CPACK_PACKAGE_FILE_NAME=<name>
# packs the same files as another version, as the upgrade tests do.
cmake_minimum_required(VERSION 3.25)
set(stage ${CPACK_TEMPORARY_DIRECTORY})
set(version ${CPACK_PACKAGE_VERSION})
set(upgrade ${CPACK_TERVALIN_MSI_UPGRADE_CODE})
set(epoch ${CPACK_TERVALIN_SOURCE_DATE_EPOCH})
set(wxs ${CPACK_TERVALIN_MSI_SOURCE})
set(zip ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
set(msi ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi)
if(NOT CPACK_TERVALIN_WIXL)
    message(FATAL_ERROR "wixl (Debian package wixl) is needed to build the MSI")
endif()
# Every time in either package, the archive's and the cabinet's, which keep
# local times, in UTC.
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
set(ENV{TZ} UTC)

# The ZIP.
file(GLOB_RECURSE files RELATIVE ${CPACK_TOPLEVEL_DIRECTORY} ${stage}/*)
list(SORT files)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip -- ${files}
                WORKING_DIRECTORY ${CPACK_TOPLEVEL_DIRECTORY} COMMAND_ERROR_IS_FATAL ANY)

# The MSI. wixl finds files only below the folder it runs in: the icon, which
# the package keeps in its own icon table, joins the staged files there.
file(COPY_FILE ${CPACK_TERVALIN_MSI_ICON} ${stage}/tervalin.ico)
file(GLOB_RECURSE files RELATIVE ${stage} ${stage}/*)
list(SORT files)
list(TRANSFORM files PREPEND ${stage}/ OUTPUT_VARIABLE paths)
execute_process(COMMAND touch -d @${epoch} ${paths} COMMAND_ERROR_IS_FATAL ANY)

string(UUID product NAMESPACE ${upgrade} NAME "${CPACK_PACKAGE_NAME} ${version}" TYPE SHA1 UPPER)
set(defines -D Version=${version} -D ProductCode={${product}} -D UpgradeCode={${upgrade}}
            -D Publisher=${CPACK_PACKAGE_VENDOR}
            -D Summary=${CPACK_PACKAGE_DESCRIPTION_SUMMARY} -D Icon=tervalin.ico)
if(CPACK_TERVALIN_URL)
    list(APPEND defines -D HelpLink=${CPACK_TERVALIN_URL})
endif()

file(SHA256 ${wxs} inputs)
string(APPEND inputs " ${defines}\n")
foreach(file IN LISTS files)
    file(SHA256 ${stage}/${file} sum)
    string(APPEND inputs "${sum} ${file}\n")
endforeach()
string(SHA256 inputs "${inputs}")
string(UUID package NAMESPACE ${product} NAME ${inputs} TYPE SHA1 UPPER)

execute_process(COMMAND ${CPACK_TERVALIN_WIXL} -a x64 ${defines} -o ${msi} ${wxs}
                WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CPACK_TERVALIN_MSI_PYTHON} ${CPACK_TERVALIN_MSI_SUMMARY} ${msi}
                        {${package}} ${epoch}
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "${CPACK_PACKAGE_FILE_NAME}.msi: product code {${product}}, "
               "package code {${package}}")
set(CPACK_EXTERNAL_BUILT_PACKAGES ${zip} ${msi})
