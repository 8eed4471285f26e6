# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=<data folder> -DDEST=<install folder> -P StageInstallData.cmake
# Puts the shipped data files into the install folder from which the
# install-data merge brings them into the user's data folder. file(COPY)
# keeps the files' modification times, which the merge compares.
file(GLOB files ${SOURCE_DIR}/*.ini ${SOURCE_DIR}/*.rdf)
file(MAKE_DIRECTORY ${DEST})
file(COPY ${files} DESTINATION ${DEST})
