// The characters a PC file extension may be typed with: those a file name
// allows, without the dot that would start another extension.
#pragma once

// True for Backspace, letters and digits, ! # $ % & ' ( ) + , - ; = [ ] ^ _
// ` { } ~, the at sign, space and every code from 128 to 255.
bool IsExtensionChar(unsigned char c);
